#include "download/PartRenderer.h"

#include "download/TrackSlot.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

using State = TrackSource::State;

// -1 dBFS: the peak a normalised track is brought to.
const double kNormalPeak = std::pow(10.0, -1.0 / 20);
// A near-silent part would otherwise have its noise brought up to full level.
constexpr double kMaxGain = 100; // +40 dB
// Far below anything heard, so that only the offset goes: a first-order high-pass barely touches 20 Hz.
constexpr double kHighPassHz = 4;
constexpr std::size_t kBlockSamples = 16384;

// y[n] = x[n] - x[n-1] + r y[n-1], from a past that stood still at the mean: no step at the first sample.
class DcBlocker
{
public:
    explicit DcBlocker(double mean)
        : m_r(std::exp(-2 * std::numbers::pi * kHighPassHz / TrackSlot::kSampleRate)), m_x(mean)
    {}
    double operator()(double x)
    {
        m_y = x - m_x + m_r * m_y;
        m_x = x;
        return m_y;
    }

private:
    double m_r;
    double m_x;
    double m_y = 0;
};

// Triangular dither of ±1 step, from the sample's place in the file alone (SplitMix64): the same part
// always gets the same bytes, and a sample's dither does not depend on where a part starts.
double dither(std::uint64_t index)
{
    std::uint64_t z = index + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    constexpr double kUnit = 1.0 / 4294967296.0;
    return static_cast<double>(z >> 32) * kUnit - static_cast<double>(z & 0xFFFFFFFFull) * kUnit;
}

// A raised cosine: the level's slope starts and ends at zero, so neither end of a fade is heard as a step.
double fadeCurve(double t)
{
    return 0.5 - 0.5 * std::cos(std::numbers::pi * t);
}

std::uint64_t fadeSamples(double seconds, std::uint64_t length)
{
    if (!(seconds > 0)) {
        return 0;
    }
    const double samples = std::min(seconds, TrackPart::kMaxFade) * TrackSlot::kSampleRate;
    return std::min<std::uint64_t>(static_cast<std::uint64_t>(std::llround(samples)), length);
}

std::uint8_t toByte(double value)
{
    return static_cast<std::uint8_t>(std::clamp(std::floor(value + 0.5), 0.0, 255.0));
}

// Reads the part's samples in blocks, in order.
class PcmReader
{
public:
    PcmReader(const QString& path, const TrackPart& part) : m_file(path), m_part(part) {}

    bool open()
    {
        return m_file.open(QIODevice::ReadOnly) &&
               m_file.seek(static_cast<qint64>(m_part.start * sizeof(std::int16_t)));
    }
    // The next block into block; false when the file does not hold it.
    bool next(std::vector<std::int16_t>& block)
    {
        const auto count =
            static_cast<std::size_t>(std::min<std::uint64_t>(kBlockSamples, m_part.length - m_done));
        block.resize(count);
        const auto bytes = static_cast<qint64>(count * sizeof(std::int16_t));
        if (m_file.read(reinterpret_cast<char*>(block.data()), bytes) != bytes) {
            return false;
        }
        m_done += count;
        return true;
    }
    bool atEnd() const { return m_done >= m_part.length; }
    QString errorString() const { return m_file.errorString(); }

private:
    QFile m_file;
    TrackPart m_part;
    std::uint64_t m_done = 0;
};

} // namespace

PartRenderer::PartRenderer(const QString& pcmPath, const TrackPart& part, double mean, bool playerSamples)
    : m_pcmPath(pcmPath), m_part(part), m_mean(mean), m_playerSamples(playerSamples)
{}

State PartRenderer::run(const TrackSource::SampleSink& sink, const std::function<bool()>& stopRequested,
                        QString& error) const
{
    const auto stopped = [&] {
        return stopRequested && stopRequested();
    };
    const auto cannotRead = [&](const PcmReader& reader) {
        error = tr("Impossibile rileggere il file temporaneo \"%1\" (%2).")
                    .arg(QDir::toNativeSeparators(m_pcmPath), reader.errorString());
        return State::Failed;
    };
    std::vector<std::int16_t> block;

    // The gain needs the peak of the whole part after the filter, so the part is read twice.
    double gain = 1;
    if (m_part.normalise) {
        PcmReader reader(m_pcmPath, m_part);
        if (!reader.open()) {
            return cannotRead(reader);
        }
        DcBlocker filter(m_mean);
        double peak = 0;
        while (!reader.atEnd()) {
            if (stopped()) {
                return State::Cancelled;
            }
            if (!reader.next(block)) {
                return cannotRead(reader);
            }
            for (const std::int16_t sample : block) {
                peak = std::max(peak, std::fabs(filter(sample / kPcmScale)));
            }
        }
        gain = peak > 0 ? std::min(kNormalPeak / peak, kMaxGain) : 1.0;
    }

    PcmReader reader(m_pcmPath, m_part);
    if (!reader.open()) {
        return cannotRead(reader);
    }
    DcBlocker filter(m_mean);
    const std::uint64_t fadeIn = fadeSamples(m_part.fadeIn, m_part.length);
    const std::uint64_t fadeOut = fadeSamples(m_part.fadeOut, m_part.length);
    const bool exact = m_playerSamples && !m_part.normalise && fadeIn == 0 && fadeOut == 0;
    std::vector<std::uint8_t> bytes;
    std::uint64_t index = 0; // within the part
    while (!reader.atEnd()) {
        if (stopped()) {
            return State::Cancelled;
        }
        if (!reader.next(block)) {
            return cannotRead(reader);
        }
        bytes.resize(block.size());
        for (std::size_t i = 0; i < block.size(); ++i, ++index) {
            if (exact) {
                bytes[i] = toByte(block[i] / (kPcmScale / 128) + 128);
                continue;
            }
            double value = block[i] / kPcmScale;
            if (m_part.normalise) {
                value = filter(value) * gain;
            }
            if (index < fadeIn) {
                value *= fadeCurve(static_cast<double>(index) / static_cast<double>(fadeIn));
            }
            const std::uint64_t fromEnd = m_part.length - 1 - index;
            if (fromEnd < fadeOut) {
                value *= fadeCurve(static_cast<double>(fromEnd) / static_cast<double>(fadeOut));
            }
            bytes[i] = toByte(value * 128 + 128 + dither(m_part.start + index));
        }
        error = sink(bytes.data(), bytes.size());
        if (!error.isEmpty()) {
            return State::Failed;
        }
    }
    return State::Done;
}
