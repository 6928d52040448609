// "Ascolta" as the track window does it, against a real sound server (run by scripts/bench-preview, which
// starts one of its own): a 47.5 s part of a 60-second MP3 rendered with normalisation and fades and handed
// to the computer's sound output. Prints one figure per line, the median of five clicks:
//   preview_start_ms   from the click to the samples handed to the sink (target: 150 ms at most)
//   preview_heard_ms   from the click to the sink saying it has played some of them
// Usage: preview_bench

#include "download/TrackSource.h"
#include "sound/QtSoundOutput.h"

#include "AudioFileMaker.h"
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace {

using BenchSupport::Clock;
using BenchSupport::since;

constexpr std::uint64_t kOneSlot = 1'048'320;

// Runs the event loop (the sink pulls its samples there) until condition holds, for at most two seconds.
bool spinUntil(const std::function<bool()>& condition)
{
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > 2000) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("minute.mp3"));
    const QString made =
        AudioFileMaker::write(path, {"mp3", "libmp3lame", 44100, 2, 128000}, 60, BenchSupport::music());
    TrackSource source(path);
    if (!made.isEmpty() || !source.open().isEmpty() || source.read().state != TrackSource::State::Done) {
        std::fprintf(stderr, "cannot make or read %s: %s\n", qPrintable(path), qPrintable(made));
        return 1;
    }
    QtSoundOutput sound;
    if (const QString silent = sound.unavailable(); !silent.isEmpty()) {
        std::fprintf(stderr, "no sound output: %s\n", qPrintable(silent));
        return 1;
    }
    TrackPart part = source.partAt(5 * 22050, kOneSlot, true);
    part.fadeIn = 0.5;
    std::vector<double> started;
    std::vector<double> heard;
    for (int click = 0; click < 5; ++click) {
        // A part moved since the last click: nothing rendered is at hand.
        ++part.start;
        const auto clicked = Clock::now();
        QString error;
        std::optional<std::vector<std::uint8_t>> samples = source.render(part, error);
        if (!samples || !sound.play(std::move(*samples))) {
            std::fprintf(stderr, "cannot play: %s%s\n", qPrintable(error), qPrintable(sound.unavailable()));
            return 1;
        }
        started.push_back(since(clicked) * 1000);
        if (!spinUntil([&sound] { return sound.position() > 0; })) {
            std::fprintf(stderr, "the sink never played\n");
            return 1;
        }
        heard.push_back(since(clicked) * 1000);
        sound.stop();
        spinUntil([&sound] { return !sound.playing(); });
    }
    std::printf("preview_start_ms: %.1f\n", BenchSupport::median(started));
    std::printf("preview_heard_ms: %.1f\n", BenchSupport::median(heard));
    return 0;
}
