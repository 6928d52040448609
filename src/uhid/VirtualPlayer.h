#pragma once

#include "sim/FlashImage.h"
#include "sim/PlayerFirmware.h"
#include "uhid/PlayerTransport.h"
#include "uhid/VirtualPlayerOptions.h"

#include <chrono>
#include <deque>
#include <optional>
#include <span>
#include <string>

// The simulated player's firmware behind a real HID device of this machine's kernel, reached through a
// transport (uhid, or a USB gadget): what the host writes to the player's hidraw node reaches the firmware,
// and the firmware's replies go back as input reports, each when it is due (a track's end is reported when
// the track has played) and in order. Also drops the player off the bus and plugs it in again when the
// options say so.
class VirtualPlayer
{
public:
    using Clock = std::chrono::steady_clock;

    static constexpr int kExitStopped = 0;
    static constexpr int kExitFailed = 1;

    // Both lengths include the report ID byte; the report descriptor declares them and the kernel holds
    // the player to them.
    static constexpr std::size_t kReportLength = 64;
    // How long the player waits, after a driver took it, for the kernel to make its hidraw node; and how
    // long for a driver before it says that none came.
    static constexpr std::chrono::seconds kNodeWait{5};

    VirtualPlayer(PlayerTransport& transport, FlashImage& flash, VirtualPlayerOptions options);

    // What the player tells the kernel it is; the serial number is the options' or one of this process.
    static PlayerTransport::Identity identity(const VirtualPlayerOptions& options);

    // Plugs the player in and serves the host until a signal arrives on signalFd (a signalfd), which
    // takes the player off the bus and returns kExitStopped. A failure of the transport is said on stderr
    // and returns kExitFailed.
    int run(int signalFd);

private:
    bool plugIn();
    bool unplug(Clock::time_point now);
    int stop();
    bool handle(const PlayerTransport::Event& event, Clock::time_point now);
    bool driverStarted(Clock::time_point now);
    bool takeOutput(std::span<const std::uint8_t> report, Clock::time_point now);
    void queue(std::vector<PlayerFirmware::Reply> replies);
    bool sendDue(Clock::time_point now);
    bool onTime(Clock::time_point now);
    Clock::time_point nextDeadline() const;
    bool lookForNode(Clock::time_point now);
    bool announce(const std::string& node);
    void withdraw();
    void waitUntilNodeGone();
    // Says what went wrong on stderr; always false, so that a caller can return it.
    static bool fail(const std::string& message);

    PlayerTransport& m_transport;
    PlayerFirmware m_firmware;
    VirtualPlayerOptions m_options;
    PlayerTransport::Identity m_identity;

    std::deque<PlayerFirmware::Reply> m_pending;
    // The first pending report is due but the transport holds the one before: sent once it polls writable.
    bool m_waitingToSend = false;
    long m_acknowledged = 0;
    bool m_unpluggedOnce = false;
    // Takes no report from the host any more.
    bool m_hung = false;
    std::optional<Clock::time_point> m_replugAt;

    // Until a driver takes the device; past it the user is told that none has, once.
    std::optional<Clock::time_point> m_driverDeadline;
    // A driver has the device; its node is looked for until the deadline, then announced.
    bool m_started = false;
    bool m_announced = false;
    // The node announced last, until it is gone.
    std::string m_node;
    Clock::time_point m_nodeDeadline;
    Clock::time_point m_nextNodeLook;
};
