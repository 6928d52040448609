#pragma once

#include "device/HidBackend.h"
#include "sim/PlayerFaults.h"

#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

struct PlayerCore;

// The USB audio player as a model inside this process, so that the whole program can be run without the
// hardware: it answers the player's commands, keeps a 1 MiB NOR flash (optionally in an image file) and
// plays tracks against the clock, on a bus that can be paced like full-speed USB.
// Thread-safe: the program writes on one handle from its user-interface thread while its reader thread
// reads on another.
class SimulatedPlayer : public HidBackend
{
public:
    static constexpr const char* kPlayerPath = "sim:player";
    // A keyboard listed before the player, so that discovery has to pick the player by its ids.
    static constexpr const char* kOtherPath = "sim:keyboard";
    static constexpr std::uint16_t kOtherVendorId = 0x046D;
    static constexpr std::uint16_t kOtherProductId = 0xC31C;

    SimulatedPlayer();
    ~SimulatedPlayer() override;
    SimulatedPlayer(const SimulatedPlayer&) = delete;
    SimulatedPlayer& operator=(const SimulatedPlayer&) = delete;

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;
    std::uint32_t lastError() const override;

    // Backs the flash with a file: an existing file must be exactly 1 MiB and becomes the flash, a missing
    // one is created erased. Every later change of the flash is written through to it at once. On failure
    // error says why and the player keeps its flash.
    bool attachImage(const std::string& path, std::string& error);
    // The player the program runs on with --simulate: its flash the image at path (its folder made when
    // missing), each report taking reportTime on its bus. Null with the reason in error when the image
    // cannot be used.
    static std::unique_ptr<SimulatedPlayer> onImage(const QString& path, std::chrono::microseconds reportTime,
                                                    std::string& error);
    // Time each report, in either direction, occupies the bus; 0 means an infinitely fast bus.
    void setReportTime(std::chrono::microseconds time);

    // What the player holds.
    void setText(std::string text);
    void setConfig(std::uint8_t config1, std::uint8_t config2, std::uint8_t config3);
    std::array<std::uint8_t, 3> config() const;
    std::vector<std::uint8_t> flash() const;
    // Whether the image behind the flash may only be read: nothing can be stored on this player.
    bool imageReadOnly() const;
    // Replaces the whole flash; false (and nothing changed) unless the image is exactly 1 MiB.
    bool setFlash(std::span<const std::uint8_t> image);
    // Stores bytes as they are (no NOR rules); whatever lies beyond the end of the flash is dropped.
    void writeFlash(std::uint32_t address, std::span<const std::uint8_t> bytes);
    void fillFlash(std::uint32_t address, std::uint32_t length, std::uint8_t value);
    bool isPlaying() const;

protected:
    // A player that consults faultPoints at every step where a test may want it to misbehave.
    explicit SimulatedPlayer(std::unique_ptr<PlayerFaults> faultPoints);
    PlayerCore& core() const { return *m_core; }

private:
    // Shared with every handle so that a handle outliving the player fails cleanly instead of dangling.
    std::shared_ptr<PlayerCore> m_core;
    std::uint32_t m_lastError = 0;
};
