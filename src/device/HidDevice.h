#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One open handle on a HID interface. A handle is used by one thread at a time: the link keeps one for
// writing (user-interface thread) and one for reading (reader thread).
class HidDevice
{
public:
    virtual ~HidDevice() = default;

    // Writes one output report, report ID in byte 0. Returns the number of bytes written, or -1.
    virtual int write(std::span<const std::uint8_t> report) = 0;

    // Reads one input report, report ID in byte 0, waiting at most timeoutMs milliseconds.
    // Returns the number of bytes read (never more than buffer.size()), 0 on time-out, -1 on error.
    virtual int read(std::span<std::uint8_t> buffer, int timeoutMs) = 0;

    // The interface's HID report descriptor; empty when it cannot be had.
    virtual std::vector<std::uint8_t> reportDescriptor() = 0;

    // The system's own words for the last failure of this handle; empty when it has none.
    virtual std::string errorText() const { return {}; }
};
