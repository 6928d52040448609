#pragma once

#include <cstdint>
#include <optional>
#include <span>

// Report lengths in bytes as the Windows HID stack reports them for one top-level collection: the
// longest report of each direction plus its report ID byte (counted even when the device uses no
// report IDs), or 0 when the direction has no report.
struct HidReportLengths
{
    std::uint16_t input = 0;
    std::uint16_t output = 0;
    std::uint16_t feature = 0;
};

class HidDescriptorParser
{
public:
    // Returns nullopt for a descriptor that is malformed or whose reports would not fit 16-bit lengths.
    static std::optional<HidReportLengths> reportLengths(std::span<const std::uint8_t> descriptor);
};
