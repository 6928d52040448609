#include "sim/PlayerFirmware.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::size_t kReportLength = Protocol::kMaxReportLength;
constexpr std::size_t kPayloadOffset = 2;
constexpr std::size_t kPayloadLength = kReportLength - kPayloadOffset;
constexpr std::size_t kHalfLength = Protocol::kBlockSize / 2;
constexpr std::uint32_t kTrackHeaderLength = 128;
constexpr std::uint8_t kLoopBit = 0x80;
constexpr std::uint8_t kEraseSectorFlag = 1;
constexpr int kUnterminatedTextReports = 4;

// Replies that have no name of their own carry the code of the command they answer.
constexpr std::uint8_t kAckType = Protocol::CMD_COMMIT_BLOCK;
constexpr std::uint8_t kEeReadType = Protocol::CMD_EE_READ;
constexpr std::uint8_t kTestType = Protocol::CMD_TEST;

PlayerFirmware::Report inputReport(std::uint8_t type)
{
    PlayerFirmware::Report r(kReportLength, 0);
    r[0] = Protocol::kInputReportId;
    r[1] = type;
    return r;
}

PlayerFirmware::Report statusReport(bool playing)
{
    PlayerFirmware::Report r = inputReport(Protocol::REPORT_STATUS);
    r[Protocol::kPlayingFlagByte] = playing ? 1 : 0;
    return r;
}

} // namespace

PlayerFirmware::PlayerFirmware(FlashImage& flash) : m_flash(flash)
{
    m_block.fill(FlashImage::kErased);
}

std::vector<PlayerFirmware::Reply> PlayerFirmware::receive(std::span<const std::uint8_t> received,
                                                           TimePoint arrival)
{
    std::vector<Reply> replies;
    // A short report reads as if padded with zeros, a long one is cut at the report length.
    std::array<std::uint8_t, kReportLength> r{};
    std::copy_n(received.begin(), std::min(received.size(), r.size()), r.begin());
    if (r[0] != Protocol::kOutputReportId) {
        return replies;
    }
    switch (r[1]) {
    case Protocol::CMD_GET_TEXT:
        sendText(arrival, replies);
        break;
    case Protocol::CMD_GET_CONFIG: {
        Report reply = inputReport(Protocol::REPLY_CONFIG);
        const auto c = config();
        // Firmware version 1.0, then the word the hardware reports as 0x0400.
        reply[2] = 0x01;
        reply[3] = 0x00;
        reply[4] = 0x00;
        reply[5] = 0x04;
        std::copy(c.begin(), c.end(), reply.begin() + 6);
        replies.push_back({std::move(reply), arrival});
        break;
    }
    case Protocol::CMD_SET_CONFIG:
        storeConfig(r[2], r[3], r[4]);
        if (m_playing) {
            m_playing = false;
            replies.push_back({statusReport(false), arrival});
        }
        break;
    case Protocol::CMD_LOAD_HALF:
        std::copy_n(r.begin() + 2, kHalfLength, m_block.begin() + m_nextHalf * kHalfLength);
        m_nextHalf ^= 1;
        break;
    case Protocol::CMD_COMMIT_BLOCK:
        commit(r, arrival, replies);
        break;
    case Protocol::CMD_EE_READ: {
        Report reply = inputReport(kEeReadType);
        const auto c = config();
        std::copy(c.begin(), c.end(), reply.begin() + 2);
        replies.push_back({std::move(reply), arrival});
        break;
    }
    case Protocol::CMD_PLAY:
        play(r[2] / 4, arrival, replies);
        break;
    case Protocol::CMD_TEST: {
        Report reply = inputReport(kTestType);
        reply[2] = r[2];
        replies.push_back({std::move(reply), arrival});
        break;
    }
    default:
        break;
    }
    return replies;
}

std::vector<PlayerFirmware::Reply> PlayerFirmware::advance(TimePoint now)
{
    std::vector<Reply> replies;
    if (m_playing && !m_looping && now >= m_playEnd) {
        m_playing = false;
        replies.push_back({statusReport(false), m_playEnd});
    }
    return replies;
}

PlayerFirmware::TimePoint PlayerFirmware::nextEvent() const
{
    return m_playing && !m_looping ? m_playEnd : TimePoint::max();
}

void PlayerFirmware::powerOff()
{
    m_playing = false;
    m_block.fill(FlashImage::kErased);
    m_nextHalf = 0;
}

void PlayerFirmware::setText(std::string text)
{
    m_text = std::move(text);
}

void PlayerFirmware::setTextUnterminated(bool unterminated)
{
    m_textUnterminated = unterminated;
}

std::array<std::uint8_t, 3> PlayerFirmware::config() const
{
    return {m_flash.at(kConfigAddress), m_flash.at(kConfigAddress + 1), m_flash.at(kConfigAddress + 2)};
}

bool PlayerFirmware::storeConfig(std::uint8_t config1, std::uint8_t config2, std::uint8_t config3)
{
    const std::array<std::uint8_t, 3> values{config1, config2, config3};
    return m_flash.store(kConfigAddress, values);
}

void PlayerFirmware::sendText(TimePoint arrival, std::vector<Reply>& replies) const
{
    // Only what a C string would see goes out, so an embedded zero still ends the text.
    const std::string_view visible(m_text.c_str());
    if (m_textUnterminated) {
        const std::string_view filler = visible.empty() ? std::string_view("#") : visible;
        std::size_t at = 0;
        for (int i = 0; i < kUnterminatedTextReports; ++i) {
            Report reply = inputReport(Protocol::REPLY_TEXT);
            for (std::size_t k = 0; k < kPayloadLength; ++k, ++at) {
                reply[kPayloadOffset + k] = static_cast<std::uint8_t>(filler[at % filler.size()]);
            }
            replies.push_back({std::move(reply), arrival});
        }
        return;
    }
    // One byte more than the text, for the terminating zero the padding supplies.
    for (std::size_t at = 0; at <= visible.size(); at += kPayloadLength) {
        Report reply = inputReport(Protocol::REPLY_TEXT);
        const std::string_view chunk = visible.substr(at, kPayloadLength);
        std::copy(chunk.begin(), chunk.end(), reply.begin() + kPayloadOffset);
        replies.push_back({std::move(reply), arrival});
    }
}

void PlayerFirmware::commit(std::span<const std::uint8_t> command, TimePoint arrival,
                            std::vector<Reply>& replies)
{
    const std::uint32_t address =
        std::uint32_t{command[2]} | std::uint32_t{command[3]} << 8 | std::uint32_t{command[4]} << 16;
    bool stored = true;
    if (address < Protocol::kMemorySize) {
        if (command[5] == kEraseSectorFlag) {
            const std::uint32_t start = address / Protocol::kSectorSize * Protocol::kSectorSize;
            const std::uint32_t end = std::min(start + Protocol::kSectorSize, kConfigAddress);
            stored = m_flash.erase(start, end - start);
        }
        // An unaligned address near the top would run past the flash; the part beyond is lost.
        stored = m_flash.program(address, m_block) && stored;
    }
    m_block.fill(FlashImage::kErased);
    m_nextHalf = 0;
    // A block that did not reach the image is lost with the next start: like a player whose flash failed,
    // this one does not acknowledge it, and the host stops.
    if (!stored) {
        return;
    }
    Report ack = inputReport(kAckType);
    std::copy_n(command.begin() + 2, 3, ack.begin() + kPayloadOffset);
    replies.push_back({std::move(ack), arrival});
}

std::pair<std::uint32_t, std::uint32_t> PlayerFirmware::slot(unsigned track) const
{
    const unsigned mode = m_flash.at(kConfigAddress + 1) & 0x0F;
    unsigned sector = 0;
    unsigned sectors = Protocol::kSectorCount;
    switch (mode) {
    case 1:
        sector = track != 0 ? 8 : 0;
        sectors = 8;
        break;
    case 2:
        sector = (track & 3) * 4;
        sectors = 4;
        break;
    case 3:
        sector = (track & 7) * 2;
        sectors = 2;
        break;
    default:
        break;
    }
    return {sector * Protocol::kSectorSize, sectors * Protocol::kSectorSize};
}

std::uint32_t PlayerFirmware::trackSamples(unsigned track) const
{
    const auto [start, length] = slot(track);
    const std::uint32_t first = start + kTrackHeaderLength;
    const std::uint32_t limit = start + length - kSettingsAreaSize;
    const auto flash = m_flash.bytes();
    for (std::uint32_t b = first; b < limit; b += Protocol::kBlockSize) {
        const auto block = flash.subspan(b, Protocol::kBlockSize);
        if (std::all_of(block.begin(), block.end(),
                        [](std::uint8_t v) { return v == FlashImage::kErased; })) {
            return b - first;
        }
    }
    return limit - first;
}

void PlayerFirmware::play(unsigned track, TimePoint arrival, std::vector<Reply>& replies)
{
    const std::uint32_t samples = trackSamples(track);
    replies.push_back({statusReport(true), arrival});
    if (samples == 0) {
        m_playing = false;
        replies.push_back({statusReport(false), arrival});
        return;
    }
    m_playing = true;
    m_looping = (m_flash.at(kConfigAddress) & kLoopBit) != 0;
    m_playEnd = arrival + std::chrono::duration_cast<Clock::duration>(
                              std::chrono::nanoseconds(std::int64_t{samples} * 1'000'000'000 / kSampleRate));
}
