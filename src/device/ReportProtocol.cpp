#include "device/ReportProtocol.h"

#include "device/PlayerClaim.h"

#include <algorithm>

namespace {

std::uint8_t low8(int value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::uint8_t awaitedReplyType(int command)
{
    switch (command) {
    case Protocol::CMD_GET_TEXT:
        return Protocol::REPLY_TEXT;
    case Protocol::CMD_GET_CONFIG:
        return Protocol::REPLY_CONFIG;
    default:
        return Protocol::REPORT_STATUS;
    }
}

} // namespace

ReportProtocol::ReportProtocol(DeviceLink& link) : m_link(link) {}

std::size_t ReportProtocol::InputPayloadLength() const
{
    const std::size_t input = m_link.caps().input;
    return input >= 2 ? input - 2u : 0u;
}

bool ReportProtocol::WriteReport(const Report& report)
{
    const std::size_t length = std::min<std::size_t>(m_link.caps().output, report.size());
    // Shown before it is written, so that the player's answer, which the reader may post while the write
    // is still returning, never appears above the report it answers.
    m_link.postToDiagnostics({.message = WM_DIAG_WRITE,
                              .lParam = 0,
                              .bytes = std::vector<std::uint8_t>(report.begin(), report.begin() + length)});
    std::string reason;
    const int result = m_link.write(std::span(report.data(), length), reason);
    const int written = std::max(result, 0);
    if (result < 0) {
        m_link.postToDiagnostics({.message = WM_DIAG_WRITE, .lParam = 1, .text = "Can't write to device"});
        if (!reason.empty()) {
            m_link.postToDiagnostics({.message = WM_DIAG_WRITE, .lParam = 1, .text = std::move(reason)});
        }
    }
    // Only an open diagnostics window is told; nothing is built for it otherwise.
    if (m_link.diagnosticsListening()) {
        m_link.postToDiagnostics(
            {.message = WM_DIAG_WRITE, .lParam = 1, .text = "Bytes Written: " + std::to_string(written)});
    }
    return result >= 0;
}

bool ReportProtocol::SendCommand(int command, int a, int b, int c, int d)
{
    Report report{};
    report[0] = Protocol::kOutputReportId;
    report[1] = low8(command);
    report[2] = low8(a);
    report[3] = low8(b);
    report[4] = low8(c);
    report[5] = low8(d);
    return WriteReport(report);
}

bool ReportProtocol::SetConfig(const DeviceConfig& config)
{
    return SendCommand(Protocol::CMD_SET_CONFIG, config.Config1, config.Config2, config.Config3, 0);
}

bool ReportProtocol::Play(int track, int partitionMode)
{
    // The player finds a track by four times its number; the last byte tells a whole-memory track from one
    // of several slots.
    return SendCommand(Protocol::CMD_PLAY, track * 4, 0, 0, partitionMode == 0 ? 15 : 3);
}

std::optional<UiMessage> ReportProtocol::TakeReply(std::uint8_t awaitedType, Clock::time_point deadline)
{
    // Replies of another type are dropped here, as they would be by the main window.
    while (std::optional<UiMessage> reply = m_link.messages().take(WM_DEVICE_REPORT, deadline)) {
        if (reply->wParam == awaitedType) {
            return reply;
        }
    }
    return std::nullopt;
}

std::optional<std::uint32_t> ReportProtocol::QueryDevice(int command, int a, int b,
                                                         std::span<std::uint8_t> dest)
{
    const std::size_t payload = InputPayloadLength();
    const DeviceLink::ReplyWait wait(m_link);
    SendCommand(command, a, b, 0, 0);
    const std::optional<UiMessage> reply = TakeReply(awaitedReplyType(command), Clock::now() + kReplyTimeout);
    if (!reply) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t>& record = reply->bytes;
    const std::uint32_t value =
        static_cast<std::uint32_t>(record[0]) | static_cast<std::uint32_t>(record[1]) << 8 |
        static_cast<std::uint32_t>(record[2]) << 16 | static_cast<std::uint32_t>(record[3]) << 24;
    const std::size_t count = std::min({payload, dest.size(), record.size()});
    std::copy_n(record.begin(), count, dest.begin());
    return value;
}

ReportProtocol::TextQuery ReportProtocol::QueryDeviceText(int command, std::span<std::uint8_t> dest, int a,
                                                          int b)
{
    static constexpr std::size_t kTextLimit = 240;
    const std::size_t payload = InputPayloadLength();
    const DeviceLink::ReplyWait wait(m_link);
    SendCommand(command, a, b, 0, 0);
    const std::uint8_t awaited = awaitedReplyType(command);
    std::size_t offset = 0;
    for (;;) {
        const std::optional<UiMessage> reply = TakeReply(awaited, Clock::now() + kReplyTimeout);
        if (!reply) {
            return TextQuery::TimedOut;
        }
        const auto chunk = std::span(reply->bytes).first(std::min(payload, reply->bytes.size()));
        // A destination shorter than the text limit takes what fits; the rest of the text is lost.
        const std::size_t room = offset < dest.size() ? dest.size() - offset : 0;
        std::copy_n(chunk.begin(), std::min(room, chunk.size()),
                    dest.begin() + static_cast<std::ptrdiff_t>(offset));
        offset += chunk.size();
        if (command != Protocol::CMD_GET_TEXT) {
            return TextQuery::Done;
        }
        if (std::find(chunk.begin(), chunk.end(), 0) != chunk.end()) {
            return TextQuery::Done;
        }
        if (offset >= kTextLimit || offset >= dest.size()) {
            return TextQuery::TooLong;
        }
    }
}

bool ReportProtocol::WriteMemoryBlock(std::uint32_t address,
                                      std::span<const std::uint8_t, Protocol::kBlockSize> block)
{
    static constexpr std::size_t kHalf = Protocol::kBlockSize / 2;
    Report report{};
    report[0] = Protocol::kOutputReportId;
    report[1] = Protocol::CMD_LOAD_HALF;
    std::copy_n(block.begin(), kHalf, report.begin() + 2);
    WriteReport(report);
    std::copy_n(block.begin() + kHalf, kHalf, report.begin() + 2);
    WriteReport(report);

    report[1] = Protocol::CMD_COMMIT_BLOCK;
    report[2] = static_cast<std::uint8_t>(address & 0xFF);
    report[3] = static_cast<std::uint8_t>((address >> 8) & 0xFF);
    report[4] = static_cast<std::uint8_t>((address >> 16) & 0xFF);
    report[5] = (address & 0xFFFF) == 0 ? 1 : 0;
    m_link.clearAcknowledgement();
    WriteReport(report);

    // A block that did not reach the player is not written, whatever report arrives meanwhile.
    return m_link.canWrite() && m_link.waitForAcknowledgement(Clock::now() + kAckTimeout);
}

void ReportProtocol::ReadDeviceConfig(std::span<std::uint8_t> buffer, DeviceConfig& config)
{
    const std::optional<std::uint32_t> result = QueryDevice(Protocol::CMD_GET_CONFIG, 0, 0, buffer);
    // A reply whose first four bytes are zero is taken for no reply, as one that never came.
    if (result && *result != 0 && buffer.size() >= 7 && InputPayloadLength() >= 7) {
        config = {buffer[4], buffer[5], buffer[6]};
    }
    if (!config.isValid()) {
        config = DeviceConfig::defaults();
        // A player another program is loading may only seem silent, busy with a block; its configuration
        // is that program's to set.
        if (!PlayerClaim::taken(m_link.openPath())) {
            SetConfig(config);
        }
    }
}
