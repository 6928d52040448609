#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The part of a sound file that goes into a slot, and what is done to it on the way, in samples at the
// player's rate.
struct TrackPart
{
    std::uint64_t start = 0;  // the part's first sample in the file
    std::uint64_t length = 0; // the slot's capacity, or what the file holds from start on when that is less
    double fadeIn = 0;        // seconds, 0 to kMaxFade
    double fadeOut = 0;
    // The part's DC offset removed and its peak brought to -1 dBFS. Off, the samples keep their level, and
    // samples that are the player's already go through unchanged (no dither) unless a fade is asked for.
    bool normalise = true;

    static constexpr double kMaxFade = 2.0;
    // Where the part cuts into the sound (not at the file's own beginning or end) a fade this long keeps
    // the cut from clicking.
    static constexpr double kCutFade = 0.05;

    std::uint64_t end() const { return start + length; }
    friend bool operator==(const TrackPart&, const TrackPart&) = default;
};

// What the user asked for before seeing the file (the command line's options); what is not set takes the
// default: the part from 0:00, fades only where the part cuts into the sound, normalisation unless the
// file's samples are the player's already.
struct PartRequest
{
    std::optional<double> startSeconds;
    bool loudest = false; // the part of the slot's length with the highest RMS
    std::optional<double> fadeIn;
    std::optional<double> fadeOut;
    std::optional<bool> normalise;

    friend bool operator==(const PartRequest&, const PartRequest&) = default;
};

// The part the user chose, and the player's bytes of it as they were heard.
struct PreparedTrack
{
    TrackPart part;
    std::vector<std::uint8_t> samples;
};
