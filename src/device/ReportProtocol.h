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

    // How a text query ended; the numbers are those the diagnostics window has always shown.
    enum class TextQuery
    {
        Done = 1,
        TooLong = -2,
        TimedOut = -3,
    };

    explicit ReportProtocol(DeviceLink& link);

    // Writes the output report length's bytes of report; false when the player did not take them (the link
    // is then closed for writing and the diagnostics window was told why).
    bool WriteReport(const Report& report);
    // A report with the command and four argument bytes (each the low 8 bits of its value).
    bool SendCommand(int command, int a, int b, int c, int d);
    // Sends the command and waits for the reply of the type it calls for: payload bytes 0 to 3 as a
    // little-endian number (dest gets the payload), nothing when no reply came in time.
    std::optional<std::uint32_t> QueryDevice(int command, int a, int b, std::span<std::uint8_t> dest);
    // Gathers text replies into dest until one holds a zero byte.
    TextQuery QueryDeviceText(int command, std::span<std::uint8_t> dest, int a, int b);
    // Writes 64 bytes to the player's memory at address (24 bits sent); true when the player acknowledged
    // it in time.
    bool WriteMemoryBlock(std::uint32_t address, std::span<const std::uint8_t, Protocol::kBlockSize> block);

    // The player keeps the configuration it is sent.
    bool SetConfig(const DeviceConfig& config);
    // Starts the track (from 0) of a player divided by partitionMode.
    bool Play(int track, int partitionMode);
    // Stops playback: the configuration the player holds, sent again.
    bool Stop(const DeviceConfig& held) { return SetConfig(held); }

    // The start-up reading of the configuration: a valid answer replaces config, an invalid configuration
    // is repaired on the player, unless another program is loading tracks into it.
    void ReadDeviceConfig(std::span<std::uint8_t> buffer, DeviceConfig& config);

    // The payload bytes of an input report (all but the report ID and the type).
    std::size_t InputPayloadLength() const;

    DeviceLink& link() { return m_link; }

private:
    std::optional<UiMessage> TakeReply(std::uint8_t awaitedType, Clock::time_point deadline);

    DeviceLink& m_link;
};
