#pragma once

#include <QString>

#include <cstdint>
#include <vector>

// The computer's sound output, for hearing a track as the player will play it: 8-bit unsigned mono samples
// at 22050 Hz. The program has one on a system with a sound server; tests put a recording fake in its place.
// Used from the user-interface thread only.
class SoundOutput
{
public:
    virtual ~SoundOutput() = default;

    // Empty when sound can be played; otherwise why not, for the user ("nessuna uscita audio...").
    virtual QString unavailable() const = 0;

    // Plays samples from the start, replacing what was playing. False (with unavailable() saying why) when
    // the output refused to start.
    virtual bool play(std::vector<std::uint8_t> samples) = 0;
    virtual void stop() = 0;
    virtual bool playing() const = 0;
    // How many of the samples given to play() have been heard so far.
    virtual std::uint64_t position() const = 0;
    // 0 to 1.
    virtual void setVolume(double volume) = 0;
};
