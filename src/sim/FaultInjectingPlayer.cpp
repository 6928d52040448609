#include "sim/FaultInjectingPlayer.h"

#include "device/Protocol.h"
#include "sim/PlayerCore.h"

#include <algorithm>
#include <mutex>
#include <utility>

class FaultInjectingPlayer::Switches : public PlayerFaults
{
public:
    bool playerPresent() const override { return present; }
    std::optional<std::uint32_t> openFailure() const override
    {
        return openFails ? std::optional(openError) : std::nullopt;
    }
    std::pair<int, int> reportLengths() const override { return {inputLength, outputLength}; }

    bool admitWrite(std::span<const std::uint8_t> report) override
    {
        if (writesBeforeFailure == 0) {
            // The unplug that follows disarms the count, as any unplug does.
            writesBeforeFailure = -1;
            return false;
        }
        if (writesBeforeFailure > 0) {
            --writesBeforeFailure;
        }
        if (recording) {
            recorded.emplace_back(report.begin(), report.end());
        }
        return true;
    }

    std::optional<std::chrono::steady_clock::duration>
    replyDelay(std::span<const std::uint8_t> report) const override
    {
        if (report.size() < 2 || report[1] != Protocol::CMD_COMMIT_BLOCK) {
            return std::chrono::steady_clock::duration::zero();
        }
        if (!ackEnabled) {
            return std::nullopt;
        }
        return ackDelay;
    }

    bool present = true;
    bool openFails = false;
    std::uint32_t openError = kDefaultOpenError;
    int inputLength = static_cast<int>(Protocol::kMaxReportLength);
    int outputLength = static_cast<int>(Protocol::kMaxReportLength);
    int writesBeforeFailure = -1;
    bool recording = false;
    std::vector<std::vector<std::uint8_t>> recorded;
    bool ackEnabled = true;
    std::chrono::steady_clock::duration ackDelay{};
};

FaultInjectingPlayer::FaultInjectingPlayer() : FaultInjectingPlayer(std::make_unique<Switches>()) {}

FaultInjectingPlayer::FaultInjectingPlayer(std::unique_ptr<Switches> switches)
    : SimulatedPlayer(std::move(switches)), m_switches(static_cast<Switches&>(*core().faults))
{}

FaultInjectingPlayer::~FaultInjectingPlayer() = default;

void FaultInjectingPlayer::setTextUnterminated(bool unterminated)
{
    std::lock_guard lock(core().mutex);
    core().firmware.setTextUnterminated(unterminated);
}

int FaultInjectingPlayer::waitingReads() const
{
    std::lock_guard lock(core().mutex);
    return core().bus.waitingReads();
}

void FaultInjectingPlayer::setAckEnabled(bool enabled)
{
    std::lock_guard lock(core().mutex);
    m_switches.ackEnabled = enabled;
}

void FaultInjectingPlayer::setAckDelay(std::chrono::microseconds delay)
{
    std::lock_guard lock(core().mutex);
    m_switches.ackDelay = std::max(delay, std::chrono::microseconds::zero());
}

void FaultInjectingPlayer::unplug()
{
    std::lock_guard lock(core().mutex);
    if (core().bus.connected()) {
        core().disconnect();
        m_switches.writesBeforeFailure = -1;
    }
}

void FaultInjectingPlayer::replug()
{
    std::lock_guard lock(core().mutex);
    core().bus.reconnect();
}

void FaultInjectingPlayer::failWritesAfter(int count)
{
    std::lock_guard lock(core().mutex);
    m_switches.writesBeforeFailure = count;
}

void FaultInjectingPlayer::injectInputReport(std::vector<std::uint8_t> report)
{
    std::lock_guard lock(core().mutex);
    if (core().bus.connected() && !core().gone) {
        core().bus.deliver(std::move(report), PlayerCore::Clock::now());
    }
}

void FaultInjectingPlayer::setPresent(bool present)
{
    std::lock_guard lock(core().mutex);
    m_switches.present = present;
}

void FaultInjectingPlayer::setOpenFails(bool fails, std::uint32_t errorCode)
{
    std::lock_guard lock(core().mutex);
    m_switches.openFails = fails;
    m_switches.openError = errorCode;
}

void FaultInjectingPlayer::setReportLength(int inputLength, int outputLength)
{
    // Beyond this the descriptor's report count would no longer fit its 16-bit item.
    constexpr int kLongest = 0x10000;
    std::lock_guard lock(core().mutex);
    m_switches.inputLength = std::clamp(inputLength, 0, kLongest);
    m_switches.outputLength = std::clamp(outputLength, 0, kLongest);
}

void FaultInjectingPlayer::recordOutputReports(bool record)
{
    std::lock_guard lock(core().mutex);
    m_switches.recording = record;
    if (record) {
        m_switches.recorded.clear();
    }
}

std::vector<std::vector<std::uint8_t>> FaultInjectingPlayer::outputReports() const
{
    std::lock_guard lock(core().mutex);
    return m_switches.recorded;
}
