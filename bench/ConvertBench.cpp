// Converts MP3 files it makes itself (44100 Hz stereo, 128 kb/s, libmp3lame; 3 and 60 minutes) and prints one
// figure per line:
//   convert_realtime_factor  seconds of audio per second of wall time, the whole 3-minute file converted
//                            with normalisation (the median of five)
//   ffmpeg_realtime_factor   the same for the ffmpeg tool doing that conversion with the soxr resampler (the
//                            median of five): what the program is measured against
//   first_block_s            from probe() to a converted file filling a one-slot player (1,048,320 samples)
//                            being there, on the 60-minute file (the median of three)
//   rss_growth_mib           growth of the peak resident memory while the whole 60-minute file is converted
// Usage: convert_bench [folder for the files, default a temporary one]

#include "download/AudioConverter.h"

#include "AudioFileMaker.h"
#include "BenchSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using BenchSupport::Clock;
using BenchSupport::median;
using BenchSupport::since;

constexpr int kRate = 44100;
constexpr std::uint64_t kOneSlot = 1'048'320;

// Seconds to convert path into target, or -1 when it failed.
double convertSeconds(const QString& path, const QString& target, std::uint64_t maxSamples, bool withProbe)
{
    const auto start = Clock::now();
    QString error;
    if (withProbe && !AudioConverter::probe(path, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return -1;
    }
    std::uint64_t written = 0;
    const AudioConverter::Result result = AudioConverter::convert(
        path, target, {.normalise = true, .maxSamples = maxSamples}, {}, {}, error, &written);
    const double seconds = since(start);
    if (result != AudioConverter::Result::Done || written == 0) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return -1;
    }
    return seconds;
}

double ffmpegSeconds(const QString& path, const QString& target)
{
    const auto start = Clock::now();
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-nostdin", "-v", "error", "-y", "-i", path, "-af", "aresample=resampler=soxr", "-ar",
                  "22050", "-ac", "1", "-c:a", "pcm_u8", target});
    if (!ffmpeg.waitForFinished(-1) || ffmpeg.exitStatus() != QProcess::NormalExit ||
        ffmpeg.exitCode() != 0) {
        std::fprintf(stderr, "ffmpeg failed: %s\n", ffmpeg.readAllStandardError().constData());
        return -1;
    }
    return since(start);
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    const QString shortMp3 = folder + QStringLiteral("/three-minutes.mp3");
    const QString longMp3 = folder + QStringLiteral("/sixty-minutes.mp3");
    const QString target = folder + QStringLiteral("/converted.wav");
    const AudioFileMaker::Format mp3{"mp3", "libmp3lame", kRate, 2, 128000};
    const AudioFileMaker::Signal signal = BenchSupport::music();
    for (const auto& [path, seconds] : {std::pair{shortMp3, 180.0}, std::pair{longMp3, 3600.0}}) {
        const QString error = AudioFileMaker::write(path, mp3, seconds, signal);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(error));
            return 1;
        }
    }

    std::vector<double> ours;
    std::vector<double> theirs;
    for (int run = 0; run < 5; ++run) {
        ours.push_back(convertSeconds(shortMp3, target, UINT64_MAX, false));
        theirs.push_back(ffmpegSeconds(shortMp3, target));
    }
    std::vector<double> firstBlock;
    for (int run = 0; run < 3; ++run) {
        firstBlock.push_back(convertSeconds(longMp3, target, kOneSlot, true));
    }
    if (std::ranges::min(ours) < 0 || std::ranges::min(theirs) < 0 || std::ranges::min(firstBlock) < 0) {
        return 1;
    }

    // The peak is set back to what is resident now, so only the conversion's own growth shows.
    const long baseline = BenchSupport::resetPeakKib();
    if (convertSeconds(longMp3, target, UINT64_MAX, false) < 0) {
        return 1;
    }
    const long peak = BenchSupport::peakKib();

    std::printf("convert_realtime_factor: %.1f\n", 180.0 / median(ours));
    std::printf("ffmpeg_realtime_factor: %.1f\n", 180.0 / median(theirs));
    std::printf("first_block_s: %.3f\n", median(firstBlock));
    std::printf("rss_growth_mib: %.1f\n", static_cast<double>(peak - baseline) / 1024);
    QFile::remove(shortMp3);
    QFile::remove(longMp3);
    QFile::remove(target);
    return 0;
}
