#pragma once

#include "AudioFileMaker.h"

#include <chrono>
#include <vector>

// What the benchmarks that make their own sound files share.
namespace BenchSupport {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start);
double median(std::vector<double> values);

// Ten seconds of something like music at 44100 Hz stereo, repeated: chords that change every half second
// with a slow vibrato, and a little noise, so that an encoder spends its bits as it would on a song.
AudioFileMaker::Signal music();

// A field of /proc/self/status in KiB ("VmRSS:", "VmHWM:"); -1 when it cannot be read.
long statusKib(const char* field);
// Sets the peak resident memory back to what is resident now, so that only what follows shows; the
// baseline to measure from, in KiB.
long resetPeakKib();
// The peak resident memory since the last reset, in KiB.
long peakKib();

} // namespace BenchSupport
