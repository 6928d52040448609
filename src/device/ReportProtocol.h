#pragma once

#include "device/DeviceConfig.h"
#include "device/DeviceLink.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

// The player's report protocol on top of the link: writing output reports, commands, the queries that wait
// for the player's replies, the block write with its acknowledgement, and the reading of the configuration
// at start. Everything here runs on the user-interface thread; the replies are taken out of its message
// queue.
class ReportProtocol
{
public:
    using Clock = DeviceLink::Clock;
    using Report = DeviceLink::Report;

    static constexpr std::chrono::milliseconds kReplyTimeout{100};
    static constexpr std::chrono::milliseconds kAckTimeout{500};

    // Results of the queries besides the answer itself.
    static constexpr int kQueryDone = 1;
    static constexpr int kQueryTextTooLong = -2;
    static constexpr int kQueryTimedOut = -3;
    // Result of a block write that the player did not acknowledge.
    static constexpr int kBlockNotAcknowledged = 0;

    explicit ReportProtocol(DeviceLink& link);

    // Writes the output report length's bytes of report. Always 1: a failure shows only as a closed link and
    // in the diagnostics window.
    int WriteReport(const Report& report);
    // A report with the command and four argument bytes (each the low 8 bits of its value).
    int SendCommand(int command, int a, int b, int c, int d);
    // Sends the command and waits for the reply of the type it calls for: payload bytes 0 to 3 as a
    // little-endian number (dest gets the payload), or kQueryTimedOut.
    int QueryDevice(int command, int a, int b, std::span<std::uint8_t> dest);
    // Gathers text replies into dest until one holds a zero byte: kQueryDone, kQueryTextTooLong or
    // kQueryTimedOut.
    int QueryDeviceText(int command, std::span<std::uint8_t> dest, int a, int b);
    // Writes 64 bytes to the player's memory at address (24 bits sent): kBlockSize when the player
    // acknowledged it in time, kBlockNotAcknowledged otherwise.
    int WriteMemoryBlock(std::uint32_t address, std::span<const std::uint8_t, Protocol::kBlockSize> block);

    // The start-up reading of the configuration: a valid answer replaces config and configWord, an invalid
    // configuration is repaired on the player.
    void ReadDeviceConfig(std::span<std::uint8_t> buffer, DeviceConfig& config, std::uint32_t& configWord);

    // The payload bytes of an input report (all but the report ID and the type).
    std::size_t InputPayloadLength() const;

    DeviceLink& link() { return m_link; }

private:
    std::optional<UiMessage> TakeReply(std::uint8_t awaitedType, Clock::time_point deadline);

    DeviceLink& m_link;
};
