#pragma once

#include "sim/SimulatedPlayer.h"

#include <chrono>
#include <cstdint>
#include <vector>

// The simulated player with the switches that make it misbehave (late or missing acknowledgements,
// unplugging, failing writes, garbage reports, an interface that cannot be opened) and a record of what
// the host sent. For tests only: the program links the plain SimulatedPlayer, which has no way to turn a
// fault on. Thread-safe like the player; tests flip the switches from a thread of their own.
class FaultInjectingPlayer : public SimulatedPlayer
{
public:
    // Returned by lastError() when open() is told to fail and no other code was given.
    static constexpr std::uint32_t kDefaultOpenError = 5;

    FaultInjectingPlayer();
    ~FaultInjectingPlayer() override;

    // Makes GET_TEXT answer with reports that never contain the terminating zero byte.
    void setTextUnterminated(bool unterminated);
    // Reads blocked inside the player right now; lets a test act only once a reader is really waiting.
    int waitingReads() const;

    // How the link behaves.
    void setAckEnabled(bool enabled);
    void setAckDelay(std::chrono::microseconds delay);
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

private:
    class Switches;
    explicit FaultInjectingPlayer(std::unique_ptr<Switches> switches);

    // Owned by the player's shared state, which outlives this object; read and written under its lock.
    Switches& m_switches;
};
