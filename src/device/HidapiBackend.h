#pragma once

#include "device/HidBackend.h"

// The real HID interfaces of the machine, through hidapi (the hidraw backend on Linux).
class HidapiBackend : public HidBackend
{
public:
    // hidapi is initialised here, on the user-interface thread, before any reader thread exists.
    HidapiBackend();
    ~HidapiBackend() override;

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;
    std::uint32_t lastError() const override { return m_lastError; }
    bool systemDevices() const override { return true; }

private:
    bool m_initialised = false;
    std::uint32_t m_lastError = 0;
};
