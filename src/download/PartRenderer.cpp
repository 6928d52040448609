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

    // Four samples a step: each of them depends on the output four back only through a power of r, so the
    // recursion, which would otherwise set the pace of the whole render, is waited for once in four.
    void filter(std::vector<double>& values)
    {
        const double r = m_r;
        const double r2 = r * r;
        const double r3 = r2 * r;
        const double r4 = r2 * r2;
        std::size_t i = 0;
        for (; i + 4 <= values.size(); i += 4) {
            double* v = values.data() + i;
            const double a0 = v[0] - m_x;
            const double a1 = v[1] - v[0] + r * a0;
            const double a2 = v[2] - v[1] + r * a1;
            const double a3 = v[3] - v[2] + r * a2;
            m_x = v[3];
            v[0] = a0 + r * m_y;
            v[1] = a1 + r2 * m_y;
            v[2] = a2 + r3 * m_y;
            v[3] = a3 + r4 * m_y;
            m_y = v[3];
        }
        for (; i < values.size(); ++i) {
            const double x = values[i];
            values[i] = x - m_x + r * m_y;
            m_x = x;
            m_y = values[i];
        }
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

double peakOf(const std::vector<double>& values)
{
    // Four maxima side by side, so that each comparison need not wait for the one before.
    double p0 = 0;
    double p1 = 0;
    double p2 = 0;
    double p3 = 0;
    std::size_t i = 0;
    for (; i + 4 <= values.size(); i += 4) {
        p0 = std::max(p0, std::fabs(values[i]));
        p1 = std::max(p1, std::fabs(values[i + 1]));
        p2 = std::max(p2, std::fabs(values[i + 2]));
        p3 = std::max(p3, std::fabs(values[i + 3]));
    }
    for (; i < values.size(); ++i) {
        p0 = std::max(p0, std::fabs(values[i]));
    }
    return std::max(std::max(p0, p1), std::max(p2, p3));
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

// value on the byte's scale (128 is silence), rounded to the nearest and clipped.
std::uint8_t toByte(double value)
{
    return static_cast<std::uint8_t>(std::clamp(value + 0.5, 0.0, 255.5));
}

// Reads the part's samples in blocks, in order.
class PcmReader
{
public:
    PcmReader(const QString& path, const TrackPart& part) : m_file(path), m_part(part) {}

    bool open()
    {
        return m_file.open(QIODevice::ReadOnly) &&
               m_file.seek(static_cast<qint64>(m_part.start) * qint64{sizeof(std::int16_t)});
    }
    // The next block into values, full scale ±1; false when the file does not hold it.
    bool next(std::vector<double>& values)
    {
        const auto count =
            static_cast<std::size_t>(std::min<std::uint64_t>(kBlockSamples, m_part.length - m_done));
        m_block.resize(count);
        const auto bytes = static_cast<qint64>(count) * qint64{sizeof(std::int16_t)};
        if (m_file.read(reinterpret_cast<char*>(m_block.data()), bytes) != bytes) {
            return false;
        }
        values.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            values[i] = m_block[i] / PartRenderer::kPcmScale;
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
    std::vector<std::int16_t> m_block;
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
    std::vector<double> values;

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
            if (!reader.next(values)) {
                return cannotRead(reader);
            }
            filter.filter(values);
            peak = std::max(peak, peakOf(values));
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
    std::uint64_t first = 0; // the block's first sample, within the part
    while (!reader.atEnd()) {
        if (stopped()) {
            return State::Cancelled;
        }
        if (!reader.next(values)) {
            return cannotRead(reader);
        }
        const std::size_t count = values.size();
        bytes.resize(count);
        if (exact) {
            for (std::size_t i = 0; i < count; ++i) {
                bytes[i] = toByte(values[i] * 128 + 128);
            }
        } else {
            if (m_part.normalise) {
                filter.filter(values);
            }
            for (std::uint64_t i = first; i < std::min<std::uint64_t>(fadeIn, first + count); ++i) {
                values[i - first] *= fadeCurve(static_cast<double>(i) / static_cast<double>(fadeIn));
            }
            for (std::uint64_t i = std::max(first, m_part.length - fadeOut); i < first + count; ++i) {
                const std::uint64_t fromEnd = m_part.length - 1 - i;
                values[i - first] *= fadeCurve(static_cast<double>(fromEnd) / static_cast<double>(fadeOut));
            }
            const double scale = gain * 128;
            for (std::size_t i = 0; i < count; ++i) {
                bytes[i] = toByte(values[i] * scale + 128 + dither(m_part.start + first + i));
            }
        }
        error = sink(bytes.data(), count);
        if (!error.isEmpty()) {
            return State::Failed;
        }
        first += count;
    }
    return State::Done;
}
