#pragma once

#include "sim/FlashImage.h"
#include "sim/PlayerFaults.h"
#include "sim/PlayerFirmware.h"
#include "sim/SimulatedBus.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

// What the simulated player and its handles share: the firmware with its flash, the bus, and the one
// lock that guards them, so that the parts themselves can stay single-threaded. Handles keep it alive, so
// that one outliving the player fails cleanly instead of dangling.
// The handle calls take the lock themselves; everything else wants it held.
struct PlayerCore
{
    using Clock = std::chrono::steady_clock;

    enum class Port
    {
        Player,
        Keyboard
    };

    explicit PlayerCore(std::unique_ptr<PlayerFaults> faultPoints);
    PlayerCore(const PlayerCore&) = delete;
    PlayerCore& operator=(const PlayerCore&) = delete;

    // What a handle does, with the meaning HidDevice gives it.
    int write(Port port, std::uint64_t session, std::span<const std::uint8_t> report);
    int read(Port port, std::uint64_t session, std::span<std::uint8_t> buffer, int timeoutMs);
    std::vector<std::uint8_t> descriptor(Port port, std::uint64_t session);

    bool reachable(std::uint64_t session) const { return !gone && bus.isCurrent(session); }
    // Playback ends against the clock, not on an event, so whoever looks at the player first turns a due
    // end into its status report.
    void settle(Clock::time_point now) { dispatch(firmware.advance(now)); }
    // Puts the firmware's replies on the bus, through the fault points when there are any.
    void dispatch(std::vector<PlayerFirmware::Reply> replies);
    // The player dropped off the bus, losing power.
    void disconnect();
    // The player object is gone; the handles left fail from now on and the image is let go.
    void shutDown();

    std::mutex mutex;
    FlashImage flash;
    PlayerFirmware firmware{flash};
    SimulatedBus bus;
    // Null for the program's own player.
    const std::unique_ptr<PlayerFaults> faults;
    bool gone = false;
};
