#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

// The points at which a test can make the simulated player misbehave. The player consults them with its
// lock held, from whichever thread is using it; the program's own player has none and always behaves.
class PlayerFaults
{
public:
    virtual ~PlayerFaults() = default;

    // False leaves the player out of enumeration, as if it were not plugged in.
    virtual bool playerPresent() const = 0;
    // The error code opening the player fails with; nothing lets it open.
    virtual std::optional<std::uint32_t> openFailure() const = 0;
    // Input and output report lengths the report descriptor declares, report ID byte included.
    virtual std::pair<int, int> reportLengths() const = 0;
    // Sees each output report before the player does; false fails the write, and the player drops off
    // the bus as a device that stops answering does.
    virtual bool admitWrite(std::span<const std::uint8_t> report) = 0;
    // Sees each input report the player makes: nothing drops it, a positive delay holds it back.
    virtual std::optional<std::chrono::steady_clock::duration>
    replyDelay(std::span<const std::uint8_t> report) const = 0;
};
