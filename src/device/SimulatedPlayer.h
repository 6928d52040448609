#pragma once

#include "device/HidBackend.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class SimulatedPlayerHandle;

// The USB audio player as a model inside this process, so that the whole program can be run and tested
// without the hardware. It answers the player's commands, keeps a 1 MiB NOR flash, plays tracks against
// the clock and can be made to misbehave (late or missing acknowledgements, a slow bus, unplugging,
// garbage reports). Thread-safe: the program writes on one handle from its user-interface thread while
// its reader thread reads on another; tests poke the knobs from a third.
class SimulatedPlayer : public HidBackend
{
public:
    static constexpr const char* kPlayerPath = "sim:player";
    // A keyboard listed before the player, so that discovery has to pick the player by its ids.
    static constexpr const char* kOtherPath = "sim:keyboard";
    static constexpr std::uint16_t kOtherVendorId = 0x046D;
    static constexpr std::uint16_t kOtherProductId = 0xC31C;

    static constexpr int kSampleRate = 22050;
    // Config1, Config2, Config3 live here, in the top 128 bytes of the flash that erasing keeps.
    static constexpr std::uint32_t kConfigAddress = 0xFFF80;
    static constexpr std::uint32_t kSettingsAreaSize = 128;
    // Returned by lastError() when open() is told to fail and no other code was given.
    static constexpr std::uint32_t kDefaultOpenError = 5;

    SimulatedPlayer();
    ~SimulatedPlayer() override;
    SimulatedPlayer(const SimulatedPlayer&) = delete;
    SimulatedPlayer& operator=(const SimulatedPlayer&) = delete;

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;
    std::uint32_t lastError() const override;

    // What the player holds.
    void setText(std::string text);
    // Makes GET_TEXT answer with reports that never contain the terminating zero byte.
    void setTextUnterminated(bool unterminated);
    void setConfig(std::uint8_t config1, std::uint8_t config2, std::uint8_t config3);
    std::array<std::uint8_t, 3> config() const;
    std::vector<std::uint8_t> flash() const;
    // Replaces the whole flash; false (and nothing changed) unless the image is exactly 1 MiB.
    bool setFlash(std::span<const std::uint8_t> image);
    // Stores bytes as they are (no NOR rules); whatever lies beyond the end of the flash is dropped.
    void writeFlash(std::uint32_t address, std::span<const std::uint8_t> bytes);
    void fillFlash(std::uint32_t address, std::uint32_t length, std::uint8_t value);
    bool isPlaying() const;
    // Reads blocked inside the player right now; lets a test act only once a reader is really waiting.
    int waitingReads() const;

    // How the link behaves.
    void setAckEnabled(bool enabled);
    void setAckDelay(std::chrono::microseconds delay);
    // Time each report, in either direction, occupies the bus; 0 means an infinitely fast bus.
    void setReportTime(std::chrono::microseconds time);
    void unplug();
    // Plugs the player back in; handles opened before the unplug stay dead, as they would on real USB.
    void replug();
    // Lets count more output reports through, then unplugs on the next one. A negative count disarms it.
    void failWritesAfter(int count);
    void injectInputReport(std::vector<std::uint8_t> report);
    void setPresent(bool present);
    void setOpenFails(bool fails, std::uint32_t errorCode = kDefaultOpenError);
    // Lengths the report descriptor declares, report ID byte included.
    void setReportLength(int inputLength, int outputLength);

    // Turning recording on starts a fresh record.
    void recordOutputReports(bool record);
    std::vector<std::vector<std::uint8_t>> outputReports() const;

    // Backs the flash with a file: an existing file must be exactly 1 MiB and becomes the flash, a missing
    // one is created erased. Every later change of the flash is written through to it at once.
    bool attachImage(const std::string& path, std::string& error);

private:
    friend class SimulatedPlayerHandle;

    struct Core;
    enum class Port
    {
        Player,
        OtherInterface
    };

    static int writeReport(Core& core, Port port, std::uint64_t session,
                           std::span<const std::uint8_t> report);
    static int readReport(Core& core, Port port, std::uint64_t session, std::span<std::uint8_t> buffer,
                          int timeoutMs);
    static std::vector<std::uint8_t> descriptor(Core& core, Port port, std::uint64_t session);

    // Shared with every handle so that a handle outliving the player fails cleanly instead of dangling.
    std::shared_ptr<Core> m_core;
    std::uint32_t m_lastError = 0;
};
