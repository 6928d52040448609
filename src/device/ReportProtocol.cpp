// The report protocol of the application object: writing output reports, commands, the queries that wait
// for the player's replies, and the block write with its acknowledgement.

#include "app/CPlayerApp.h"

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

std::size_t CPlayerApp::InputPayloadLength() const
{
    return m_Caps.input >= 2 ? m_Caps.input - 2u : 0u;
}

int CPlayerApp::WriteReport(const Report& report)
{
    const std::size_t length = std::min<std::size_t>(m_Caps.output, report.size());
    // Shown before it is written, so that the player's answer, which the reader may post while the write
    // is still returning, never appears above the report it answers.
    PostToDiagnostics({.message = WM_DIAG_WRITE,
                       .lParam = 0,
                       .bytes = std::vector<std::uint8_t>(report.begin(), report.begin() + length)});
    int written = 0;
    bool failed = true;
    if (m_hWriteDevice) {
        const int result = m_hWriteDevice->write(std::span(report.data(), length));
        if (result >= 0) {
            written = result;
            failed = false;
        }
    }
    if (failed) {
        m_hWriteDevice.reset();
        PostToDiagnostics({.message = WM_DIAG_WRITE, .lParam = 1, .text = "Can't write to device"});
    }
    // Only an open diagnostics window is told; nothing is built for it otherwise.
    if (m_pDiagDlg.load() != nullptr) {
        PostToDiagnostics(
            {.message = WM_DIAG_WRITE, .lParam = 1, .text = "Bytes Written: " + std::to_string(written)});
    }
    return 1;
}

int CPlayerApp::SendCommand(int command, int a, int b, int c, int d)
{
    Report report{};
    report[0] = Protocol::kOutputReportId;
    report[1] = low8(command);
    report[2] = low8(a);
    report[3] = low8(b);
    report[4] = low8(c);
    report[5] = low8(d);
    WriteReport(report);
    return 1;
}

std::optional<UiMessage> CPlayerApp::TakeReply(std::uint8_t awaitedType, Clock::time_point deadline)
{
    // Replies of another type are dropped here, as they would be by the main window.
    while (std::optional<UiMessage> reply = m_messages.take(WM_DEVICE_REPORT, deadline)) {
        if (reply->wParam == awaitedType) {
            return reply;
        }
    }
    return std::nullopt;
}

int CPlayerApp::QueryDevice(int command, int a, int b, std::span<std::uint8_t> dest)
{
    const std::size_t payload = InputPayloadLength();
    SendCommand(command, a, b, 0, 0);
    const std::optional<UiMessage> reply = TakeReply(awaitedReplyType(command), Clock::now() + kReplyTimeout);
    if (!reply) {
        return -3;
    }
    const std::vector<std::uint8_t>& record = reply->bytes;
    const std::uint32_t value =
        static_cast<std::uint32_t>(record[0]) | static_cast<std::uint32_t>(record[1]) << 8 |
        static_cast<std::uint32_t>(record[2]) << 16 | static_cast<std::uint32_t>(record[3]) << 24;
    const std::size_t count = std::min({payload, dest.size(), record.size()});
    std::copy_n(record.begin(), count, dest.begin());
    return static_cast<int>(value);
}

int CPlayerApp::QueryDeviceText(int command, std::span<std::uint8_t> dest, int a, int b)
{
    static constexpr std::size_t kTextLimit = 240;
    const std::size_t payload = InputPayloadLength();
    SendCommand(command, a, b, 0, 0);
    const std::uint8_t awaited = awaitedReplyType(command);
    std::size_t offset = 0;
    for (;;) {
        const std::optional<UiMessage> reply = TakeReply(awaited, Clock::now() + kReplyTimeout);
        if (!reply) {
            return -3;
        }
        const auto chunk = std::span(reply->bytes).first(std::min(payload, reply->bytes.size()));
        // A destination shorter than the text limit takes what fits; the rest of the text is lost.
        const std::size_t room = offset < dest.size() ? dest.size() - offset : 0;
        std::copy_n(chunk.begin(), std::min(room, chunk.size()),
                    dest.begin() + static_cast<std::ptrdiff_t>(offset));
        offset += chunk.size();
        if (command != Protocol::CMD_GET_TEXT) {
            return 1;
        }
        if (std::find(chunk.begin(), chunk.end(), 0) != chunk.end()) {
            return 1;
        }
        if (offset >= kTextLimit || offset >= dest.size()) {
            return -2;
        }
    }
}

int CPlayerApp::WriteMemoryBlock(std::uint32_t address,
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
    {
        std::lock_guard lock(m_inputMutex);
        m_InputReport[0] = 0;
        m_ackFlag.store(0, std::memory_order_relaxed);
    }
    WriteReport(report);

    // A block that did not reach the player is not written, whatever report arrives meanwhile.
    if (!m_hWriteDevice) {
        return 0;
    }
    const Clock::time_point watched = Clock::now() + kAckWatch;
    do {
        if (m_ackFlag.load(std::memory_order_acquire) != 0) {
            return static_cast<int>(Protocol::kBlockSize);
        }
    } while (Clock::now() < watched);
    std::unique_lock lock(m_inputMutex);
    const bool acknowledged =
        m_inputArrived.wait_until(lock, Clock::now() + kAckTimeout, [this] { return m_InputReport[0] != 0; });
    return acknowledged ? static_cast<int>(Protocol::kBlockSize) : 0;
}

void CPlayerApp::ReadDeviceConfig(std::span<std::uint8_t> buffer)
{
    const int result = QueryDevice(Protocol::CMD_GET_CONFIG, 0, 0, buffer);
    if (result != 0 && result != -3 && buffer.size() >= 7 && InputPayloadLength() >= 7) {
        m_wConfigWord = static_cast<std::uint32_t>(buffer[2]) | static_cast<std::uint32_t>(buffer[3]) << 8;
        m_Config = {buffer[4], buffer[5], buffer[6]};
    }
    if (!m_Config.isValid()) {
        m_Config = DeviceConfig::defaults();
        SendCommand(Protocol::CMD_SET_CONFIG, m_Config.Config1, m_Config.Config2, m_Config.Config3, 0);
    }
}
