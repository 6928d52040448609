#pragma once

#include "uhid/PlayerTransport.h"
#include "uhid/UhidDevice.h"

#include <memory>

// The player as a HID device made through /dev/uhid: the kernel's HID core sees it on a USB bus that is not
// there, hid-generic takes it and hidraw makes its node. Requests on the control pipe are answered here.
class UhidTransport : public PlayerTransport
{
public:
    explicit UhidTransport(std::unique_ptr<UhidDevice> device);

    int fd() const override { return m_device->fd(); }
    bool plugIn(const Identity& identity, std::string& error) override;
    bool unplug(std::string& error) override { return m_device->destroy(error); }
    bool pluggedIn() const override { return m_device->created(); }
    bool reportsDriver() const override { return true; }
    std::optional<Event> read(std::string& error) override;
    Sent sendInput(std::span<const std::uint8_t> report, std::string& error) override;
    std::string findNode() const override;
    std::string missingNodeHint() const override { return "hid-generic"; }

private:
    std::unique_ptr<UhidDevice> m_device;
    std::string m_phys;
};
