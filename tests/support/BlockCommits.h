#pragma once

#include "device/Protocol.h"

#include <cstdint>
#include <span>
#include <vector>

// The 24-bit address that a block commit, and the player's acknowledgement of it, carry in bytes 2 to 4.
inline std::uint32_t commitAddress(std::span<const std::uint8_t> report)
{
    return std::uint32_t{report[2]} | std::uint32_t{report[3]} << 8 | std::uint32_t{report[4]} << 16;
}

// The addresses of the blocks committed among output reports, in the order written.
inline std::vector<std::uint32_t> commitAddresses(const std::vector<std::vector<std::uint8_t>>& reports)
{
    std::vector<std::uint32_t> addresses;
    for (const std::vector<std::uint8_t>& report : reports) {
        if (report.size() > 4 && report[1] == Protocol::CMD_COMMIT_BLOCK) {
            addresses.push_back(commitAddress(report));
        }
    }
    return addresses;
}
