#include "sim/PlayerCore.h"

#include "device/Protocol.h"
#include "sim/ReportDescriptors.h"

#include <algorithm>
#include <thread>
#include <utility>

PlayerCore::PlayerCore(std::unique_ptr<PlayerFaults> faultPoints) : faults(std::move(faultPoints)) {}

int PlayerCore::write(Port port, std::uint64_t session, std::span<const std::uint8_t> report)
{
    Clock::time_point slotEnd;
    {
        std::lock_guard lock(mutex);
        // The keyboard has no output report the program could sensibly send.
        if (port != Port::Player || !reachable(session) || report.empty()) {
            return -1;
        }
        if (faults && !faults->admitWrite(report)) {
            disconnect();
            return -1;
        }
        const auto now = Clock::now();
        settle(now);
        slotEnd = bus.reserve(now);
        dispatch(firmware.receive(report, slotEnd));
    }
    // An absolute deadline, so that the scheduler's overshoot on one report is not added to the next.
    std::this_thread::sleep_until(slotEnd);
    return static_cast<int>(report.size());
}

int PlayerCore::read(Port port, std::uint64_t session, std::span<std::uint8_t> buffer, int timeoutMs)
{
    std::unique_lock lock(mutex);
    const bool forever = timeoutMs < 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        const bool usable = port == Port::Player ? reachable(session) : !gone;
        if (!usable) {
            return -1;
        }
        const auto now = Clock::now();
        auto wake = forever ? Clock::time_point::max() : deadline;
        if (port == Port::Player) {
            settle(now);
            if (auto report = bus.takeDue(now)) {
                const std::size_t n = std::min(report->size(), buffer.size());
                std::copy_n(report->begin(), n, buffer.begin());
                return static_cast<int>(n);
            }
            wake = std::min({wake, bus.nextDue(), firmware.nextEvent()});
        }
        if (!forever && now >= deadline) {
            return 0;
        }
        bus.waitForChange(lock, wake);
    }
}

std::vector<std::uint8_t> PlayerCore::descriptor(Port port, std::uint64_t session)
{
    std::lock_guard lock(mutex);
    if (port == Port::Keyboard) {
        return gone ? std::vector<std::uint8_t>{} : ReportDescriptors::keyboard();
    }
    if (!reachable(session)) {
        return {};
    }
    constexpr int kLength = static_cast<int>(Protocol::kMaxReportLength);
    const auto [input, output] = faults ? faults->reportLengths() : std::pair{kLength, kLength};
    return ReportDescriptors::player(input, output);
}

void PlayerCore::dispatch(std::vector<PlayerFirmware::Reply> replies)
{
    for (PlayerFirmware::Reply& reply : replies) {
        const auto delay = faults ? faults->replyDelay(reply.report) : Clock::duration::zero();
        if (!delay) {
            continue;
        }
        if (*delay > Clock::duration::zero()) {
            bus.sendLate(std::move(reply.report), reply.earliest + *delay);
        } else {
            bus.send(std::move(reply.report), reply.earliest);
        }
    }
}

void PlayerCore::disconnect()
{
    bus.disconnect();
    firmware.powerOff();
}

void PlayerCore::shutDown()
{
    gone = true;
    disconnect();
    flash.detach();
}
