#pragma once

#include <cstdint>
#include <vector>

// HID report descriptors of the interfaces the simulated player presents.
namespace ReportDescriptors {

// The player's: the hardware's vendor-defined page and 8-bit fields, with the report counts following the
// lengths given (report ID byte included); a length below 2 leaves that report out.
std::vector<std::uint8_t> player(int inputLength, int outputLength);

// A boot keyboard's, for the interface listed before the player.
const std::vector<std::uint8_t>& keyboard();

} // namespace ReportDescriptors
