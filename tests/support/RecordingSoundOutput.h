#pragma once

#include "download/SoundOutput.h"

#include <utility>

// The sound output of the windows' tests: it keeps what it was given and plays nothing. A test says there is
// no sound output by giving a reason, and moves playback on by setting what has been heard and whether it
// still sounds.
class RecordingSoundOutput : public SoundOutput
{
public:
    QString unavailable() const override { return reason; }
    bool play(std::vector<std::uint8_t> samples) override
    {
        if (!reason.isEmpty()) {
            return false;
        }
        played.push_back(std::move(samples));
        heard = 0;
        sounding = true;
        return true;
    }
    void stop() override { sounding = false; }
    bool playing() const override { return sounding; }
    std::uint64_t position() const override { return heard; }
    void setVolume(double value) override { volume = value; }

    QString reason;
    std::vector<std::vector<std::uint8_t>> played;
    std::uint64_t heard = 0;
    bool sounding = false;
    double volume = 1.0;
};
