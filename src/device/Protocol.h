#pragma once

#include <cstddef>
#include <cstdint>

// Report layout and command codes of the player. Output reports carry report ID 2 and the command in
// byte 1; input reports carry report ID 1 and the report type in byte 1.
namespace Protocol {

inline constexpr std::uint16_t kVendorId = 0x115F;
inline constexpr std::uint16_t kProductId = 0x0230;

// Reports are built and read in buffers of this size; a device whose reports are longer is refused.
inline constexpr std::size_t kMaxReportLength = 64;
// The shortest reports that carry the protocol, report ID included: an output report holds half a block
// after its command (bytes 2 to 33), an input report the configuration reply's bytes and the playing flag
// (bytes 2 to 8).
inline constexpr std::size_t kMinOutputReportLength = 34;
inline constexpr std::size_t kMinInputReportLength = 9;

inline constexpr std::uint8_t kOutputReportId = 2;
inline constexpr std::uint8_t kInputReportId = 1;

inline constexpr std::uint8_t CMD_GET_TEXT = 1;
inline constexpr std::uint8_t CMD_GET_CONFIG = 2;
inline constexpr std::uint8_t CMD_SET_CONFIG = 3;
inline constexpr std::uint8_t CMD_LOAD_HALF = 4;
inline constexpr std::uint8_t CMD_COMMIT_BLOCK = 5;
inline constexpr std::uint8_t CMD_EE_READ = 6;
inline constexpr std::uint8_t CMD_PLAY = 8;
inline constexpr std::uint8_t CMD_TEST = 11;

inline constexpr std::uint8_t REPLY_TEXT = 1;
inline constexpr std::uint8_t REPLY_CONFIG = 2;
inline constexpr std::uint8_t REPORT_STATUS = 3;

// Byte of an input report that holds the playing flag of a status report.
inline constexpr std::size_t kPlayingFlagByte = 8;

inline constexpr std::size_t kBlockSize = 64;
inline constexpr std::uint32_t kSectorSize = 0x10000;
inline constexpr std::uint32_t kMemorySize = 0x100000;
inline constexpr std::uint32_t kSectorCount = kMemorySize / kSectorSize;

} // namespace Protocol
