#pragma once

#include "device/HidDevice.h"

#include <string>

struct hid_device_;

// One hidapi handle. hidapi keeps an error string per handle, so each thread gets a handle of its own.
class HidapiDevice : public HidDevice
{
public:
    HidapiDevice(hid_device_* handle, std::string path);
    ~HidapiDevice() override;
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    int write(std::span<const std::uint8_t> report) override;
    int read(std::span<std::uint8_t> buffer, int timeoutMs) override;
    std::vector<std::uint8_t> reportDescriptor() override;
    std::string errorText() const override;

private:
    hid_device_* m_handle;
    std::string m_path;
};
