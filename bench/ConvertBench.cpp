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

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numbers>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRate = 44100;
constexpr std::uint64_t kOneSlot = 1'048'320;

double since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Ten seconds of something like music, repeated: chords that change every half second with a slow vibrato,
// and a little noise, so that the encoder spends its bits as it would on a song.
AudioFileMaker::Signal music()
{
    constexpr int kLength = 10 * kRate;
    auto table = std::make_shared<std::vector<float>>(2 * static_cast<std::size_t>(kLength));
    std::uint32_t noise = 12345;
    const double roots[] = {220.0, 261.6, 196.0, 246.9};
    for (int i = 0; i < kLength; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double root = roots[(i / (kRate / 2)) % 4];
        const double vibrato = 1 + 0.003 * std::sin(2 * std::numbers::pi * 5 * t);
        double value = 0;
        for (const double ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
            value += 0.12 / ratio * std::sin(2 * std::numbers::pi * root * ratio * vibrato * t);
        }
        for (int channel = 0; channel < 2; ++channel) {
            noise = noise * 1664525u + 1013904223u;
            const double hiss = (static_cast<double>(noise >> 8) / (1 << 24) - 0.5) * 0.02;
            (*table)[static_cast<std::size_t>(2 * i + channel)] =
                static_cast<float>(value * (channel == 0 ? 1.0 : 0.8) + hiss);
        }
    }
    return [table](int channel, std::int64_t index) {
        return static_cast<double>((*table)[static_cast<std::size_t>(2 * (index % kLength) + channel)]);
    };
}

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

long statusKib(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(static_cast<qsizetype>(std::strlen(field)))
                .trimmed()
                .split(' ')
                .value(0)
                .toLong();
        }
    }
    return -1;
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
    const AudioFileMaker::Signal signal = music();
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
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    const bool reset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    clear.close();
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const long baseline = reset ? statusKib("VmRSS:") : before.ru_maxrss;
    if (convertSeconds(longMp3, target, UINT64_MAX, false) < 0) {
        return 1;
    }
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    const long peak = reset ? statusKib("VmHWM:") : after.ru_maxrss;

    std::printf("convert_realtime_factor: %.1f\n", 180.0 / median(ours));
    std::printf("ffmpeg_realtime_factor: %.1f\n", 180.0 / median(theirs));
    std::printf("first_block_s: %.3f\n", median(firstBlock));
    std::printf("rss_growth_mib: %.1f\n", static_cast<double>(peak - baseline) / 1024);
    QFile::remove(shortMp3);
    QFile::remove(longMp3);
    QFile::remove(target);
    return 0;
}
