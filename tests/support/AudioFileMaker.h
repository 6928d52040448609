#pragma once

#include <QString>

#include <cstdint>
#include <functional>

// Writes sound files with FFmpeg's own muxers and encoders, for the tests and the benchmarks: whatever
// container and codec the build of FFmpeg has.
class AudioFileMaker
{
public:
    // The value of one channel at one sample index; full scale is ±1 (beyond it, the format decides).
    using Signal = std::function<double(int channel, std::int64_t index)>;

    struct Format
    {
        const char* container = "wav";     // FFmpeg's muxer: "wav", "mp3", "flac", "ogg", "ipod", "aiff", ...
        const char* encoder = "pcm_s16le"; // nullptr: no audio stream at all
        int rate = 44100;
        int channels = 2;
        std::int64_t bitRate = 0;  // 0: the encoder's default
        int compressionLevel = -1; // -1: the encoder's default
        double videoSeconds = 0;   // > 0: a small video stream this long ahead of the audio
    };

    // seconds of signal; with second, a second audio stream of the same format carries it. Empty on
    // success, otherwise what failed.
    static QString write(const QString& path, const Format& format, double seconds, const Signal& signal,
                         const Signal& second = {});

    // amplitude * sin(2π frequency t) on every channel.
    static Signal sine(double frequency, double amplitude, int rate);
};
