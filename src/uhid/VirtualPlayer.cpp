#include "uhid/VirtualPlayer.h"

#include "device/Protocol.h"
#include "sim/ReportDescriptors.h"

#include <linux/input.h>

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
#include <filesystem>
#include <fstream>
#include <system_error>

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

// The hidraw node of the HID device whose physical path is phys, once the kernel has made it and its
// /dev entry exists; empty until then.
std::string findHidrawNode(const std::string& phys)
{
    namespace fs = std::filesystem;
    const std::string wanted = "HID_PHYS=" + phys;
    std::error_code ec;
    // Devices come and go while the folder is walked: every step takes an error code instead of throwing.
    for (fs::directory_iterator device("/sys/bus/hid/devices", ec), end; !ec && device != end;
         device.increment(ec)) {
        std::ifstream uevent(device->path() / "uevent");
        bool ours = false;
        for (std::string line; !ours && std::getline(uevent, line);) {
            ours = line == wanted;
        }
        if (!ours) {
            continue;
        }
        std::error_code rawError;
        for (fs::directory_iterator raw(device->path() / "hidraw", rawError); !rawError && raw != end;
             raw.increment(rawError)) {
            std::string node = "/dev/" + raw->path().filename().string();
            struct stat status = {};
            if (::stat(node.c_str(), &status) == 0 && S_ISCHR(status.st_mode)) {
                return node;
            }
        }
    }
    return {};
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

VirtualPlayer::VirtualPlayer(UhidDevice& device, FlashImage& flash, VirtualPlayerOptions options)
    : m_device(device), m_firmware(flash), m_options(std::move(options))
{
    if (!m_options.text.empty()) {
        m_firmware.setText(m_options.text);
    }
    m_identity.name = "Quenmark Audio Zoffino USB";
    // Unique to this process, so that its device can be told apart from another player's in sysfs.
    m_identity.phys = "zoffino-uhid-player-" + std::to_string(::getpid()) + "/input0";
    m_identity.uniq = m_options.serial;
    m_identity.bus = BUS_USB;
    m_identity.vendor = Protocol::kVendorId;
    m_identity.product = Protocol::kProductId;
    m_identity.version = kDeviceVersion;
    m_identity.descriptor = ReportDescriptors::player(kReportLength, kReportLength);
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
        std::array<pollfd, 2> fds{{{m_device.fd(), POLLIN, 0}, {signalFd, POLLIN, 0}}};
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
            fail(std::string(UhidDevice::kPath) + " was closed under the player; it is gone");
            withdraw();
            return kExitFailed;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            std::string error;
            for (int i = 0; i < kEventsPerPass; ++i) {
                const std::optional<UhidDevice::Event> event = m_device.read(error);
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
    if (!m_device.create(m_identity, error)) {
        return fail(error);
    }
    m_driverDeadline = Clock::now() + kNodeWait;
    return true;
}

bool VirtualPlayer::unplug(Clock::time_point now)
{
    m_unpluggedOnce = true;
    std::string error;
    const bool destroyed = m_device.destroy(error);
    // Like a player losing power: playback and a half-loaded block are gone, and so is what it had not
    // sent yet.
    m_firmware.powerOff();
    m_pending.clear();
    m_started = false;
    m_driverDeadline.reset();
    withdraw();
    say("unplugged");
    if (!destroyed) {
        return fail(error);
    }
    if (m_options.replugAfter) {
        m_replugAt = now + *m_options.replugAfter;
    }
    return true;
}

int VirtualPlayer::stop()
{
    std::string error;
    const bool destroyed = m_device.destroy(error);
    withdraw();
    if (!destroyed) {
        fail(error);
        return kExitFailed;
    }
    return kExitStopped;
}

bool VirtualPlayer::handle(const UhidDevice::Event& event, Clock::time_point now)
{
    using Type = UhidDevice::Event::Type;
    std::string error;
    switch (event.type) {
    case Type::Start:
        m_started = true;
        m_driverDeadline.reset();
        m_nodeDeadline = now + kNodeWait;
        return lookForNode(now);
    case Type::Stop:
        // The driver let go, and the node went with it.
        m_started = false;
        withdraw();
        return true;
    case Type::Output:
        // Events of a device taken off the bus may still be queued; they belong to no one now.
        if (!m_device.created() || !event.outputReport) {
            return true;
        }
        return takeOutput(event.bytes, now);
    case Type::GetReport:
        // Input reports travel only on the interrupt pipe, and the player has no feature report.
        return m_device.answerGetReport(event.requestId, EIO, error) || fail(error);
    case Type::SetReport: {
        // An output report through the control pipe is taken like one through the interrupt pipe.
        const bool taken = event.outputReport && event.reportNumber == Protocol::kOutputReportId;
        if (taken && !takeOutput(event.bytes, now)) {
            return false;
        }
        // A report that unplugged the player has no one left to answer.
        if (!m_device.created()) {
            return true;
        }
        return m_device.answerSetReport(event.requestId, taken ? 0 : EIO, error) || fail(error);
    }
    case Type::Open:
    case Type::Close:
    case Type::Other:
        return true;
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
    while (!m_pending.empty() && m_pending.front().earliest <= now) {
        PlayerFirmware::Report report = std::move(m_pending.front().report);
        m_pending.pop_front();
        // The kernel drops an input report shorter than the descriptor declares, without a word to anyone.
        report.resize(kReportLength, 0);
        std::string error;
        if (!m_device.sendInput(report, error)) {
            return fail(error);
        }
        if (report[0] == Protocol::kInputReportId && report[1] == Protocol::CMD_COMMIT_BLOCK) {
            ++m_acknowledged;
        }
    }
    return true;
}

bool VirtualPlayer::onTime(Clock::time_point now)
{
    if (m_device.created()) {
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
                     "(is the hid-generic module loaded?)\n",
                     static_cast<long long>(kNodeWait.count()));
    }
    if (m_started && !m_announced && now >= m_nextNodeLook) {
        return lookForNode(now);
    }
    return true;
}

VirtualPlayer::Clock::time_point VirtualPlayer::nextDeadline() const
{
    Clock::time_point next = Clock::time_point::max();
    if (m_device.created()) {
        next = std::min(next, m_firmware.nextEvent());
        if (!m_pending.empty()) {
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
    const std::string node = findHidrawNode(m_identity.phys);
    if (node.empty() && now < m_nodeDeadline) {
        m_nextNodeLook = now + kNodeLookInterval;
        return true;
    }
    if (node.empty()) {
        std::fprintf(stderr,
                     "zoffino-uhid-player: the kernel made no hidraw node for the player within %lld s "
                     "(no hidraw support?); it is there all the same\n",
                     static_cast<long long>(kNodeWait.count()));
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
