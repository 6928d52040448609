#pragma once

#include "download/AudioInfo.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <stop_token>

// Turns any sound file FFmpeg reads into a WAV file the player takes: PCM, mono, 22050 Hz, 8 bit unsigned:
// the file read through a TrackSource and rendered whole, as one part with no fades. Samples that are the
// player's already come out as they are when not normalised. Works on a file at a time and keeps no state of
// its own, so conversions may run on several threads at once.
class AudioConverter
{
public:
    // What FFmpeg finds in path (its first audio stream). nullopt when FFmpeg cannot open or read it or it
    // has no audio stream; error then says so in the user's language, naming the file, with FFmpeg's own
    // reason after it.
    static std::optional<AudioInfo> probe(const QString& path, QString& error);

    struct Options
    {
        bool normalise = true; // the DC offset removed and the peak brought to -1 dBFS
        std::uint64_t maxSamples =
            std::numeric_limits<std::uint64_t>::max(); // output samples: decoding stops once reached
    };
    enum class Result
    {
        Done,
        Cancelled,
        Failed
    };

    // Writes a RIFF WAVE file of the player's format (a 16-byte "fmt " chunk and a "data" chunk) at target.
    // Meant for a worker thread: progress gets a fraction 0..1 now and then, from that thread; a stop request
    // ends it with Cancelled. Cancelled or Failed leave no file of theirs behind (a file already at target
    // stays as it was); Failed sets error as probe does. samplesWritten (if given) receives the number of
    // samples in the data chunk.
    static Result convert(const QString& path, const QString& target, const Options& options,
                          const std::stop_token& stop, const std::function<void(double)>& progress,
                          QString& error, std::uint64_t* samplesWritten = nullptr);
};
