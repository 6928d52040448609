#pragma once

#include "device/HidDevice.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct HidDeviceInfo
{
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    // The interface's serial number; empty when it has none.
    std::string serial;
};

// Access to the HID interfaces of the machine: hidapi for real hardware, the simulated player, or a fake
// in tests. Enumeration and opening happen on the user-interface thread only.
class HidBackend
{
public:
    virtual ~HidBackend() = default;

    // The HID interfaces present now, one entry per path.
    virtual std::vector<HidDeviceInfo> enumerate() = 0;

    // Opens a path for reading and writing; null on failure, with lastError() telling why.
    virtual std::unique_ptr<HidDevice> open(const std::string& path) = 0;

    // The platform's code for the last failure of enumerate() or open(); 0 when none is known.
    virtual std::uint32_t lastError() const = 0;

    // Whether the interfaces are the system's own, whose arrivals and removals the system announces.
    virtual bool systemDevices() const { return false; }

    // The players among the interfaces (by their vendor and product ids), in the enumeration's order.
    std::vector<HidDeviceInfo> players();
    // The player at path: the interface's own path, or a link to its node (a name a udev rule gave it).
    // Nothing when no player is there.
    std::optional<HidDeviceInfo> player(const std::string& path);
};
