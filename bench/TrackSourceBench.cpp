// Reads MP3 files it makes itself (44100 Hz stereo, 128 kb/s, libmp3lame; 5 and 60 minutes) as the track
// window does, and prints one figure per line (the median of three runs unless said otherwise):
//   envelope_5min_s       from open() to the whole envelope of the 5-minute file (target: 0.5 s at most)
//   first_slot_60min_s    from open() to the first 47.5 s of the 60-minute file read: the window's first
//                         screen and the part it starts from (target: 0.5 s at most)
//   rss_growth_mib        growth of the peak resident memory while the whole 60-minute file is read, once
//                         (target: 20 MiB at most)
//   envelope_60min_mib    the columns of the 60-minute file
//   loudest_60min_ms      loudestStart() for a 47.5 s part over the 60-minute file
//   render_slot_ms        render() of a 47.5 s part with normalisation and fades, from the middle of the
//                         60-minute file, the median of five (target: 100 ms at most)
// Usage: track_source_bench [folder for the files, default a temporary one]

#include "download/TrackSource.h"

#include "AudioFileMaker.h"
#include "BenchSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <thread>
#include <vector>

namespace {

using BenchSupport::Clock;
using BenchSupport::median;
using BenchSupport::since;
using namespace std::chrono_literals;

constexpr std::uint64_t kOneSlot = 1'048'320;

// Seconds from open() until enough has been read (samples, or the whole file when 0); -1 when it failed.
double readSeconds(const QString& path, std::uint64_t samples)
{
    const auto start = Clock::now();
    TrackSource source(path);
    const QString error = source.open();
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return -1;
    }
    source.startReading();
    for (;;) {
        const TrackSource::Progress now = source.progress();
        if (now.state == TrackSource::State::Done || (samples > 0 && now.samples >= samples)) {
            return since(start);
        }
        if (now.state != TrackSource::State::Reading) {
            std::fprintf(stderr, "%s\n", qPrintable(now.error));
            return -1;
        }
        std::this_thread::sleep_for(1ms);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    const QString shortMp3 = folder + QStringLiteral("/five-minutes.mp3");
    const QString longMp3 = folder + QStringLiteral("/sixty-minutes.mp3");
    const AudioFileMaker::Format mp3{"mp3", "libmp3lame", 44100, 2, 128000};
    const AudioFileMaker::Signal signal = BenchSupport::music();
    for (const auto& [path, seconds] : {std::pair{shortMp3, 300.0}, std::pair{longMp3, 3600.0}}) {
        if (QFile::exists(path)) {
            continue;
        }
        const QString error = AudioFileMaker::write(path, mp3, seconds, signal);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(error));
            return 1;
        }
    }

    std::vector<double> envelope;
    std::vector<double> firstSlot;
    for (int run = 0; run < 3; ++run) {
        envelope.push_back(readSeconds(shortMp3, 0));
        firstSlot.push_back(readSeconds(longMp3, kOneSlot));
    }
    if (std::ranges::min(envelope) < 0 || std::ranges::min(firstSlot) < 0) {
        return 1;
    }

    const long baseline = BenchSupport::resetPeakKib();
    TrackSource source(longMp3);
    if (!source.open().isEmpty() || source.read().state != TrackSource::State::Done) {
        std::fprintf(stderr, "%s\n", qPrintable(source.progress().error));
        return 1;
    }
    const long peak = BenchSupport::peakKib();
    std::vector<TrackSource::Column> columns;
    const TrackSource::Progress read = source.progress(0, &columns);

    const auto loudestStart = Clock::now();
    const std::uint64_t loudest = source.loudestStart(kOneSlot);
    const double loudestSeconds = since(loudestStart);

    const TrackPart part = source.partAt(read.samples / 2, kOneSlot, true);
    std::vector<double> render;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        QString error;
        const auto bytes = source.render(part, error);
        render.push_back(since(start));
        if (!bytes || bytes->size() != kOneSlot) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    }

    std::printf("envelope_5min_s: %.3f\n", median(envelope));
    std::printf("first_slot_60min_s: %.3f\n", median(firstSlot));
    std::printf("rss_growth_mib: %.1f\n", static_cast<double>(peak - baseline) / 1024);
    std::printf("envelope_60min_mib: %.1f\n",
                static_cast<double>(columns.size() * sizeof(TrackSource::Column)) / (1024 * 1024));
    std::printf("loudest_60min_ms: %.1f (at %.1f s)\n", loudestSeconds * 1000,
                static_cast<double>(loudest) / 22050);
    std::printf("render_slot_ms: %.1f\n", median(render) * 1000);
    if (argc <= 1) {
        QFile::remove(shortMp3);
        QFile::remove(longMp3);
    }
    return 0;
}
