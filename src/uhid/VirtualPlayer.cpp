#include "uhid/VirtualPlayer.h"

#include "device/Protocol.h"
#include "sim/ReportDescriptors.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <thread>

namespace {

// While the kernel is making the hidraw node, sysfs is looked at this often; it takes milliseconds.
constexpr std::chrono::milliseconds kNodeLookInterval{10};
// Events handled before the signals and the clock get their turn again: a host that writes without pause
// must not keep the player from stopping or from reporting a track's end.
constexpr int kEventsPerPass = 64;
// Firmware version 1.0, as the player's configuration reply says.
constexpr std::uint32_t kDeviceVersion = 0x0100;

void say(const char* line)
{
    // Whoever started the player reads these lines to follow it; a reader that went away is no failure.
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int timeoutMs(VirtualPlayer::Clock::time_point deadline)
{
    if (deadline == VirtualPlayer::Clock::time_point::max()) {
        return -1;
    }
    const auto left = deadline - VirtualPlayer::Clock::now();
    if (left <= VirtualPlayer::Clock::duration::zero()) {
        return 0;
    }
    // Rounded up: a wait that ended just before its deadline would otherwise come round again at once,
    // and again, until the deadline had passed.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<long long>(ms, INT_MAX));
}

} // namespace

VirtualPlayer::VirtualPlayer(PlayerTransport& transport, FlashImage& flash, VirtualPlayerOptions options)
    : m_transport(transport), m_firmware(flash), m_options(std::move(options)),
      m_identity(identity(m_options))
{
    if (!m_options.text.empty()) {
        m_firmware.setText(m_options.text);
    }
}

PlayerTransport::Identity VirtualPlayer::identity(const VirtualPlayerOptions& options)
{
    PlayerTransport::Identity identity;
    identity.manufacturer = "Quenmark Audio";
    identity.product = "Zoffino USB";
    // Unique to this process unless given, so that its device can be told apart from another player's.
    identity.serial = options.serial.empty() ? "zoffino-" + std::to_string(::getpid()) : options.serial;
    identity.vendor = Protocol::kVendorId;
    identity.productId = Protocol::kProductId;
    identity.version = kDeviceVersion;
    identity.descriptor = ReportDescriptors::player(kReportLength, kReportLength);
    identity.reportLength = kReportLength;
    return identity;
}

bool VirtualPlayer::fail(const std::string& message)
{
    std::fprintf(stderr, "zoffino-uhid-player: %s\n", message.c_str());
    return false;
}

int VirtualPlayer::run(int signalFd)
{
    if (!plugIn()) {
        return kExitFailed;
    }
    for (;;) {
        const short events =
            static_cast<short>((m_hung ? 0 : POLLIN) | (m_waitingToSend && !m_hung ? POLLOUT : 0));
        std::array<pollfd, 2> fds{{{m_transport.fd(), events, 0}, {signalFd, POLLIN, 0}}};
        const int ready = ::poll(fds.data(), fds.size(), timeoutMs(nextDeadline()));
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(std::string("Waiting for the kernel failed: ") + std::strerror(errno));
            withdraw();
            return kExitFailed;
        }
        if (fds[1].revents != 0) {
            signalfd_siginfo info{};
            // Which signal it was does not matter: each one means stop.
            [[maybe_unused]] const ssize_t ignored = ::read(signalFd, &info, sizeof info);
            return stop();
        }
        if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            fail("The player's handle was closed under it; it is gone");
            withdraw();
            return kExitFailed;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            std::string error;
            for (int i = 0; i < kEventsPerPass && !m_hung; ++i) {
                const std::optional<PlayerTransport::Event> event = m_transport.read(error);
                if (!event) {
                    break;
                }
                if (!handle(*event, Clock::now())) {
                    withdraw();
                    return kExitFailed;
                }
            }
            if (!error.empty()) {
                fail(error);
                withdraw();
                return kExitFailed;
            }
        }
        if (!onTime(Clock::now())) {
            withdraw();
            return kExitFailed;
        }
    }
}

bool VirtualPlayer::plugIn()
{
    std::string error;
    if (!m_transport.plugIn(m_identity, error)) {
        return fail(error);
    }
    if (m_transport.reportsDriver()) {
        m_driverDeadline = Clock::now() + kNodeWait;
        return true;
    }
    return driverStarted(Clock::now());
}

bool VirtualPlayer::driverStarted(Clock::time_point now)
{
    m_started = true;
    m_driverDeadline.reset();
    m_nodeDeadline = now + kNodeWait;
    return lookForNode(now);
}

bool VirtualPlayer::unplug(Clock::time_point now)
{
    m_unpluggedOnce = true;
    std::string error;
    const bool destroyed = m_transport.unplug(error);
    // Like a player losing power: playback and a half-loaded block are gone, and so is what it had not
    // sent yet.
    m_firmware.powerOff();
    m_pending.clear();
    m_waitingToSend = false;
    m_started = false;
    m_driverDeadline.reset();
    withdraw();
    if (!destroyed) {
        say("unplugged");
        return fail(error);
    }
    waitUntilNodeGone();
    say("unplugged");
    if (m_options.replugAfter) {
        m_replugAt = now + *m_options.replugAfter;
    }
    return true;
}

int VirtualPlayer::stop()
{
    std::string error;
    const bool destroyed = m_transport.unplug(error);
    withdraw();
    if (!destroyed) {
        fail(error);
        return kExitFailed;
    }
    waitUntilNodeGone();
    return kExitStopped;
}

bool VirtualPlayer::handle(const PlayerTransport::Event& event, Clock::time_point now)
{
    using Type = PlayerTransport::Event::Type;
    switch (event.type) {
    case Type::DriverStarted:
        return driverStarted(now);
    case Type::DriverStopped:
        // The driver let go, and the node went with it.
        m_started = false;
        withdraw();
        return true;
    case Type::Output:
        // A report read after the player went off the bus belongs to no one now.
        return !m_transport.pluggedIn() || takeOutput(event.report, now);
    }
    return true;
}

bool VirtualPlayer::takeOutput(std::span<const std::uint8_t> report, Clock::time_point now)
{
    // The host has read the last acknowledgement when it sends again: dropping off now, rather than right
    // after the acknowledgement went out, fails the next block every time instead of now and then this one.
    if (m_options.unplugAfter && !m_unpluggedOnce && m_acknowledged >= *m_options.unplugAfter) {
        return unplug(now);
    }
    if (m_options.hangAfter && m_acknowledged >= *m_options.hangAfter) {
        // What the host sends from now on stays with the kernel, until it gives up or its queue is full.
        m_hung = true;
        m_pending.clear();
        say("hung");
        return true;
    }
    // What playback had to report up to now goes out before the answer to this report.
    queue(m_firmware.advance(now));
    queue(m_firmware.receive(report, now));
    return sendDue(now);
}

void VirtualPlayer::queue(std::vector<PlayerFirmware::Reply> replies)
{
    for (PlayerFirmware::Reply& reply : replies) {
        m_pending.push_back(std::move(reply));
    }
}

bool VirtualPlayer::sendDue(Clock::time_point now)
{
    m_waitingToSend = false;
    while (!m_pending.empty() && m_pending.front().earliest <= now) {
        PlayerFirmware::Report& report = m_pending.front().report;
        // The kernel drops an input report shorter than the descriptor declares, without a word to anyone.
        report.resize(kReportLength, 0);
        std::string error;
        switch (m_transport.sendInput(report, error)) {
        case PlayerTransport::Sent::Busy:
            // The reports keep their order: this one and those after it wait for the way to clear.
            m_waitingToSend = true;
            return true;
        case PlayerTransport::Sent::Failed:
            return fail(error);
        case PlayerTransport::Sent::Done:
            if (report[0] == Protocol::kInputReportId && report[1] == Protocol::CMD_COMMIT_BLOCK) {
                ++m_acknowledged;
            }
            break;
        case PlayerTransport::Sent::Dropped:
            break;
        }
        m_pending.pop_front();
    }
    return true;
}

bool VirtualPlayer::onTime(Clock::time_point now)
{
    if (m_transport.pluggedIn() && !m_hung) {
        queue(m_firmware.advance(now));
        if (!sendDue(now)) {
            return false;
        }
    } else if (m_replugAt && now >= *m_replugAt) {
        m_replugAt.reset();
        if (!plugIn()) {
            return false;
        }
    }
    if (m_driverDeadline && now >= *m_driverDeadline) {
        m_driverDeadline.reset();
        // The device is there, but without a driver no program can reach it; the player waits on.
        std::fprintf(stderr,
                     "zoffino-uhid-player: no HID driver has taken the player within %lld s "
                     "(is the %s module loaded?)\n",
                     static_cast<long long>(kNodeWait.count()), m_transport.missingNodeHint().c_str());
    }
    if (m_started && !m_announced && now >= m_nextNodeLook) {
        return lookForNode(now);
    }
    return true;
}

VirtualPlayer::Clock::time_point VirtualPlayer::nextDeadline() const
{
    Clock::time_point next = Clock::time_point::max();
    if (m_transport.pluggedIn() && !m_hung) {
        next = std::min(next, m_firmware.nextEvent());
        // A report held up by the transport is sent when its handle polls writable, not by the clock.
        if (!m_pending.empty() && !m_waitingToSend) {
            next = std::min(next, m_pending.front().earliest);
        }
    }
    if (m_replugAt) {
        next = std::min(next, *m_replugAt);
    }
    if (m_driverDeadline) {
        next = std::min(next, *m_driverDeadline);
    }
    if (m_started && !m_announced) {
        next = std::min(next, m_nextNodeLook);
    }
    return next;
}

bool VirtualPlayer::lookForNode(Clock::time_point now)
{
    const std::string node = m_transport.findNode();
    if (node.empty() && now < m_nodeDeadline) {
        m_nextNodeLook = now + kNodeLookInterval;
        return true;
    }
    if (node.empty()) {
        std::fprintf(stderr,
                     "zoffino-uhid-player: the kernel made no hidraw node for the player within %lld s "
                     "(no hidraw support, or no %s module?); it is there all the same\n",
                     static_cast<long long>(kNodeWait.count()), m_transport.missingNodeHint().c_str());
    }
    return announce(node);
}

bool VirtualPlayer::announce(const std::string& node)
{
    if (!m_options.readyFile.empty()) {
        // Written beside and renamed, so that a reader never sees half a line.
        const std::string partial = m_options.readyFile + ".partial";
        {
            std::ofstream file(partial, std::ios::trunc);
            file << node << '\n';
            file.close();
            if (!file) {
                std::remove(partial.c_str());
                return fail("Cannot write " + partial);
            }
        }
        if (std::rename(partial.c_str(), m_options.readyFile.c_str()) != 0) {
            const int code = errno;
            std::remove(partial.c_str());
            return fail("Cannot write " + m_options.readyFile + ": " + std::strerror(code));
        }
    }
    m_announced = true;
    m_node = node;
    say("ready");
    return true;
}

void VirtualPlayer::withdraw()
{
    if (!m_options.readyFile.empty()) {
        std::remove(m_options.readyFile.c_str());
    }
    m_announced = false;
}

void VirtualPlayer::waitUntilNodeGone()
{
    // The host's USB driver learns of an unplugged gadget a moment after the controller lets it go; until
    // its node is gone, the player is still there for the host. Its hub usually takes milliseconds.
    const Clock::time_point deadline = Clock::now() + kNodeWait;
    struct stat status = {};
    while (!m_node.empty() && ::stat(m_node.c_str(), &status) == 0 && Clock::now() < deadline) {
        std::this_thread::sleep_for(kNodeLookInterval);
    }
    m_node.clear();
}
