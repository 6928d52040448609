#pragma once

#include "device/Protocol.h"
#include "sim/FlashImage.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

// The player's firmware: it takes the output reports the host sends, answers with input reports, programs
// the flash and plays tracks. It reads no clock and starts no thread: it runs on the times it is handed,
// so that the same firmware can sit behind the simulated bus in this process or behind a virtual device
// the kernel presents. Not thread-safe; whoever drives it serialises the calls.
class PlayerFirmware
{
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;
    using Report = std::vector<std::uint8_t>;

    // An input report and the earliest time the player has it ready to send.
    struct Reply
    {
        Report report;
        TimePoint earliest;
    };

    static constexpr int kSampleRate = 22050;
    // Config1, Config2, Config3 live here, in the top 128 bytes of the flash that erasing keeps.
    static constexpr std::uint32_t kConfigAddress = 0xFFF80;
    static constexpr std::uint32_t kSettingsAreaSize = Protocol::kMemorySize - kConfigAddress;

    explicit PlayerFirmware(FlashImage& flash);
    PlayerFirmware(const PlayerFirmware&) = delete;
    PlayerFirmware& operator=(const PlayerFirmware&) = delete;

    // One output report, report ID in byte 0, that reached the player at arrival; returns the replies in
    // the order the player sends them. Whatever advance() had to report up to arrival should be taken
    // first, as the player would have sent it before it saw this report.
    std::vector<Reply> receive(std::span<const std::uint8_t> report, TimePoint arrival);

    // Runs playback up to now: a track that has ended by then stops, and its status report is dated at
    // its end.
    std::vector<Reply> advance(TimePoint now);
    // When advance() next has something to report; TimePoint::max() while nothing is coming.
    TimePoint nextEvent() const;
    bool isPlaying() const { return m_playing; }

    // The player lost power: playback and a half-loaded block are gone, the flash stays.
    void powerOff();

    void setText(std::string text);
    // Makes GET_TEXT answer with reports that never contain the terminating zero byte.
    void setTextUnterminated(bool unterminated);
    std::array<std::uint8_t, 3> config() const;
    // Stores the configuration as SET_CONFIG does, without its effect on playback; false when the flash
    // could not write it through to its image.
    bool storeConfig(std::uint8_t config1, std::uint8_t config2, std::uint8_t config3);

private:
    void sendText(TimePoint arrival, std::vector<Reply>& replies) const;
    void commit(std::span<const std::uint8_t> command, TimePoint arrival, std::vector<Reply>& replies);
    void play(unsigned track, TimePoint arrival, std::vector<Reply>& replies);
    // Start and length of the slot that holds a track, after the partition mode in Config2.
    std::pair<std::uint32_t, std::uint32_t> slot(unsigned track) const;
    std::uint32_t trackSamples(unsigned track) const;

    FlashImage& m_flash;
    std::string m_text = "Zoffino USB - lettore simulato, 1 MiB";
    bool m_textUnterminated = false;

    // The block the two LOAD_HALF commands fill and COMMIT_BLOCK programs.
    std::array<std::uint8_t, Protocol::kBlockSize> m_block{};
    std::size_t m_nextHalf = 0;

    bool m_playing = false;
    bool m_looping = false;
    TimePoint m_playEnd{};
};
