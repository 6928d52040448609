#include "download/AudioConverter.h"

#include "download/AudioDecoder.h"
#include "download/MonoResampler.h"
#include "download/PlayerWavWriter.h"

extern "C" {
#include <libavutil/frame.h>
}

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int kPlayerRate = 22050;
// -1 dBFS: the peak a normalised track is brought to.
const double kNormalPeak = std::pow(10.0, -1.0 / 20);
// A near-silent file would otherwise have its noise brought up to full level.
constexpr double kMaxGain = 100; // +40 dB
// The share of the progress bar the first of two passes takes: the second only reads back and quantises.
constexpr double kFirstPassShare = 0.9;
constexpr std::size_t kReadBackSamples = 16384;
// Input samples given to the resampler at a time: what one frame can make stays a few hundred KiB.
constexpr int kSliceSamples = 16384;

using Result = AudioConverter::Result;

Result failWith(QString& error, const QString& message)
{
    error = message;
    return Result::Failed;
}

QString cannotConvert(const AudioDecoder& decoder, int code)
{
    return QCoreApplication::translate("AudioConverter", "Il file \"%1\" non si può convertire (%2).")
        .arg(decoder.shownName(), AudioDecoder::reason(code));
}

QString cannotReadBack(const QString& target, const QFile& floats)
{
    return QCoreApplication::translate("AudioConverter",
                                       "Impossibile rileggere il file temporaneo accanto a \"%1\" (%2).")
        .arg(QDir::toNativeSeparators(target), floats.errorString());
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

// Runs the decoder into the resampler until the stream ends or limit samples came out; every batch of
// output goes to sink (which returns an error message or nothing).
template <typename Sink>
Result decodeInto(AudioDecoder& decoder, MonoResampler& resampler, std::uint64_t limit, Sink&& sink,
                  const std::function<void(double)>& progress, QString& error)
{
    std::uint64_t produced = 0;
    const auto deliver = [&]() -> bool {
        std::vector<std::uint8_t>& out = resampler.output();
        const auto available = out.size() / static_cast<std::size_t>(resampler.bytesPerSample());
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(available, limit - produced));
        if (count > 0) {
            error = sink(out.data(), count);
        }
        produced += count;
        out.clear();
        return error.isEmpty();
    };
    while (produced < limit) {
        const AudioDecoder::Step step = decoder.next();
        if (step == AudioDecoder::Step::Stopped) {
            return Result::Cancelled;
        }
        if (step == AudioDecoder::Step::Failed) {
            error = decoder.error();
            return Result::Failed;
        }
        const int length = step == AudioDecoder::Step::Frame ? decoder.frame().nb_samples : 0;
        for (int offset = 0; offset < length || step == AudioDecoder::Step::End; offset += kSliceSamples) {
            const int result =
                step == AudioDecoder::Step::Frame
                    ? resampler.convert(decoder.frame(), offset, std::min(kSliceSamples, length - offset))
                    : resampler.drain();
            if (result < 0) {
                error = cannotConvert(decoder, result);
                return Result::Failed;
            }
            if (!deliver()) {
                return Result::Failed;
            }
            if (step == AudioDecoder::Step::End || produced >= limit) {
                break;
            }
        }
        if (step == AudioDecoder::Step::End) {
            break;
        }
        const double bySamples = static_cast<double>(produced) / static_cast<double>(limit);
        progress(std::max(decoder.fraction(), bySamples));
    }
    return Result::Done;
}

Result convertFile(const QString& path, const QString& target, const AudioConverter::Options& options,
                   const std::stop_token& stop, const std::function<void(double)>& reportProgress,
                   QString& error, std::uint64_t& written)
{
    AudioDecoder decoder(path);
    error = decoder.open(stop);
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
    const auto tooLong = [&] {
        return QCoreApplication::translate("AudioConverter", "Il file \"%1\" è troppo lungo per un file WAV.")
            .arg(decoder.shownName());
    };

    if (!options.normalise) {
        MonoResampler toPlayer(MonoResampler::Output::Unsigned8, kPlayerRate);
        const auto sink = [&](const std::uint8_t* samples, std::size_t count) {
            return wav.write(samples, count);
        };
        const Result result = decodeInto(
            decoder, toPlayer, limit, sink, [&](double f) { progress(f); }, error);
        if (result != Result::Done) {
            return result;
        }
    } else {
        // The gain needs the peak of the whole track, so the first pass keeps the mono track as floats in a
        // file beside the target (never in memory: a track may last hours), the second quantises it.
        QTemporaryFile floats(QFileInfo(target).absolutePath() + QStringLiteral("/.zoffino-XXXXXX.f32"));
        if (!floats.open()) {
            return failWith(error, QCoreApplication::translate(
                                       "AudioConverter",
                                       "Impossibile creare un file temporaneo accanto a \"%1\" (%2): "
                                       "controllare lo spazio libero e i permessi della cartella.")
                                       .arg(QDir::toNativeSeparators(target), floats.errorString()));
        }
        float peak = 0;
        MonoResampler toFloat(MonoResampler::Output::Float, kPlayerRate);
        const auto sink = [&](const std::uint8_t* samples, std::size_t count) {
            const auto* values = reinterpret_cast<const float*>(samples);
            for (std::size_t i = 0; i < count; ++i) {
                peak = std::max(peak, std::fabs(values[i]));
            }
            const auto bytes = static_cast<qint64>(count) * qint64{sizeof(float)};
            if (floats.write(reinterpret_cast<const char*>(samples), bytes) != bytes) {
                return QCoreApplication::translate(
                           "AudioConverter", "Impossibile scrivere il file temporaneo accanto a \"%1\" (%2): "
                                             "controllare lo spazio libero.")
                    .arg(QDir::toNativeSeparators(target), floats.errorString());
            }
            return QString();
        };
        const Result result = decodeInto(
            decoder, toFloat, limit, sink, [&](double f) { progress(f * kFirstPassShare); }, error);
        if (result != Result::Done) {
            return result;
        }

        const std::uint64_t total = static_cast<std::uint64_t>(floats.pos()) / sizeof(float);
        if (total > PlayerWavWriter::kMaxSamples) {
            return failWith(error, tooLong());
        }
        const float gain = peak > 0 ? static_cast<float>(std::min(kNormalPeak / peak, kMaxGain)) : 1.0f;
        if (!floats.flush() || !floats.seek(0)) {
            return failWith(error, cannotReadBack(target, floats));
        }
        MonoResampler toPlayer(MonoResampler::Output::Unsigned8, kPlayerRate);
        std::vector<float> block(kReadBackSamples);
        std::uint64_t done = 0;
        while (done < total) {
            if (stop.stop_requested()) {
                return Result::Cancelled;
            }
            const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), total - done));
            const auto bytes = static_cast<qint64>(count) * qint64{sizeof(float)};
            if (floats.read(reinterpret_cast<char*>(block.data()), bytes) != bytes) {
                return failWith(error, cannotReadBack(target, floats));
            }
            for (std::size_t i = 0; i < count; ++i) {
                block[i] *= gain;
            }
            int converted = toPlayer.convertMono(block.data(), static_cast<int>(count));
            done += count;
            if (converted >= 0 && done == total) {
                converted = toPlayer.drain();
            }
            if (converted < 0) {
                return failWith(error, cannotConvert(decoder, converted));
            }
            std::vector<std::uint8_t>& out = toPlayer.output();
            error = wav.write(out.data(), out.size());
            out.clear();
            if (!error.isEmpty()) {
                return Result::Failed;
            }
            progress(kFirstPassShare +
                     (1 - kFirstPassShare) * static_cast<double>(done) / static_cast<double>(total));
        }
    }

    if (wav.samples() > PlayerWavWriter::kMaxSamples) {
        return failWith(error, tooLong());
    }
    // A handful of decoded samples can still come to none at the player's rate.
    if (wav.samples() == 0 && options.maxSamples > 0) {
        return failWith(
            error, QCoreApplication::translate(
                       "AudioConverter", "Il file \"%1\" non contiene suoni: la sua traccia audio è vuota.")
                       .arg(decoder.shownName()));
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
