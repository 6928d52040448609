#include "download/AudioConverter.h"

#include "download/AudioDecoder.h"
#include "download/PlayerWavWriter.h"
#include "download/TrackSource.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// The share of the progress bar reading takes: rendering only reads the samples back and quantises them.
constexpr double kReadShare = 0.9;

using Result = AudioConverter::Result;

Result failWith(QString& error, const QString& message)
{
    error = message;
    return Result::Failed;
}

// Throttled: a call for every frame would flood the user-interface thread with updates it cannot show.
class ProgressReport
{
public:
    explicit ProgressReport(const std::function<void(double)>& report) : m_report(report) {}

    void operator()(double fraction)
    {
        fraction = std::clamp(fraction, 0.0, 1.0);
        if (m_report && (fraction >= m_last + 0.005 || (fraction == 1.0 && m_last < 1.0))) {
            m_last = fraction;
            m_report(fraction);
        }
    }

private:
    const std::function<void(double)>& m_report;
    double m_last = -1;
};

Result resultOf(TrackSource::State state)
{
    return state == TrackSource::State::Done        ? Result::Done
           : state == TrackSource::State::Cancelled ? Result::Cancelled
                                                    : Result::Failed;
}

Result convertFile(const QString& path, const QString& target, const AudioConverter::Options& options,
                   const std::stop_token& stop, const std::function<void(double)>& reportProgress,
                   QString& error, std::uint64_t& written)
{
    if (stop.stop_requested()) {
        return Result::Cancelled;
    }
    TrackSource source(path);
    const std::stop_callback cancel(stop, [&source] { source.cancel(); });
    error = source.open();
    if (stop.stop_requested()) {
        return Result::Cancelled;
    }
    if (!error.isEmpty()) {
        return Result::Failed;
    }
    PlayerWavWriter wav(target);
    error = wav.open();
    if (!error.isEmpty()) {
        return Result::Failed;
    }
    ProgressReport progress(reportProgress);
    progress(0);

    // One sample past what a WAV file can hold tells a file too long for one.
    const std::uint64_t limit = std::min(options.maxSamples, PlayerWavWriter::kMaxSamples + 1);
    const TrackSource::Progress read = source.read(
        {}, [&](double fraction) { progress(fraction * kReadShare); }, limit);
    if (read.state != TrackSource::State::Done) {
        error = read.error;
        return resultOf(read.state);
    }
    if (read.samples > PlayerWavWriter::kMaxSamples) {
        return failWith(error, QCoreApplication::translate("AudioConverter",
                                                           "Il file \"%1\" è troppo lungo per un file WAV.")
                                   .arg(source.shownName()));
    }

    // The whole track as one part, with no fades: normalised by its own peak, as the converter always did.
    TrackPart whole;
    whole.length = read.samples;
    whole.normalise = options.normalise;
    std::uint64_t done = 0;
    const auto sink = [&](const std::uint8_t* samples, std::size_t count) {
        QString failure = wav.write(samples, count);
        done += count;
        progress(kReadShare +
                 (1 - kReadShare) * static_cast<double>(done) / static_cast<double>(whole.length));
        return failure;
    };
    const Result rendered = resultOf(source.renderInto(
        whole, sink, [&stop] { return stop.stop_requested(); }, error));
    if (rendered != Result::Done) {
        return rendered;
    }
    if (stop.stop_requested()) {
        return Result::Cancelled;
    }
    error = wav.finish();
    if (!error.isEmpty()) {
        return Result::Failed;
    }
    written = wav.samples();
    progress(1);
    return Result::Done;
}

} // namespace

std::optional<AudioInfo> AudioConverter::probe(const QString& path, QString& error)
{
    AudioDecoder decoder(path);
    error = decoder.open(std::stop_token());
    if (!error.isEmpty()) {
        return std::nullopt;
    }
    return decoder.info();
}

AudioConverter::Result AudioConverter::convert(const QString& path, const QString& target,
                                               const Options& options, const std::stop_token& stop,
                                               const std::function<void(double)>& progress, QString& error,
                                               std::uint64_t* samplesWritten)
{
    std::uint64_t written = 0;
    error.clear();
    const Result result = convertFile(path, target, options, stop, progress, error, written);
    if (result != Result::Failed) {
        error.clear();
    }
    if (samplesWritten) {
        *samplesWritten = written;
    }
    return result;
}
