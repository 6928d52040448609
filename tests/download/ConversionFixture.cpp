#include "ConversionFixture.h"

#include "download/WavReader.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <numbers>

double AudioConverterTest::dB(double ratio)
{
    return 20 * std::log10(ratio);
}

std::vector<double> AudioConverterTest::middle(const std::vector<std::uint8_t>& samples, std::size_t margin)
{
    std::vector<double> out;
    for (std::size_t i = margin; i + margin < samples.size(); ++i) {
        out.push_back((samples[i] - 128.0) / 128.0);
    }
    return out;
}

// Goertzel's algorithm.
double AudioConverterTest::amplitudeAt(const std::vector<double>& x, double frequency)
{
    const double periods = std::floor(static_cast<double>(x.size()) * frequency / kRate);
    const auto n = static_cast<std::size_t>(std::lround(periods * kRate / frequency));
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * frequency / kRate);
    double s1 = 0;
    double s2 = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double s = x[i] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    return 2 * std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - coefficient * s1 * s2)) / static_cast<double>(n);
}

double AudioConverterTest::frequencyOf(const std::vector<double>& x, double amplitude)
{
    double first = -1;
    double last = -1;
    int crossings = 0;
    bool armed = false;
    for (std::size_t i = 1; i < x.size(); ++i) {
        if (x[i] < -amplitude / 3) {
            armed = true;
        }
        if (armed && x[i - 1] < 0 && x[i] >= 0) {
            const double at = static_cast<double>(i - 1) + -x[i - 1] / (x[i] - x[i - 1]);
            first = first < 0 ? at : first;
            last = at;
            ++crossings;
            armed = false;
        }
    }
    return crossings > 1 ? (crossings - 1) * kRate / (last - first) : 0;
}

double AudioConverterTest::peakOf(const std::vector<std::uint8_t>& samples)
{
    int peak = 0;
    for (const std::uint8_t s : samples) {
        peak = std::max(peak, std::abs(s - 128));
    }
    return peak / 128.0;
}

QString AudioConverterTest::make(const QString& name, const Format& format, double seconds,
                                 const AudioFileMaker::Signal& signal, const AudioFileMaker::Signal& second)
{
    const QString path = dir.filePath(name);
    const QString error = AudioFileMaker::write(path, format, seconds, signal, second);
    EXPECT_TRUE(error.isEmpty()) << name.toStdString() << ": " << error.toStdString();
    return path;
}

QString AudioConverterTest::tone(const QString& name, const Format& format, double seconds, double frequency)
{
    return make(name, format, seconds, AudioFileMaker::sine(frequency, kAmplitude, format.rate));
}

QStringList AudioConverterTest::entries() const
{
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

AudioConverterTest::Output AudioConverterTest::convert(const QString& path, const Options& options,
                                                       const std::stop_token& stop,
                                                       const std::function<void(double)>& onProgress)
{
    const QString target = dir.filePath(QStringLiteral("out.wav"));
    QFile::remove(target);
    Output out;
    out.result = AudioConverter::convert(
        path, target, options, stop,
        [&](double fraction) {
            out.progress.push_back(fraction);
            if (onProgress) {
                onProgress(fraction);
            }
        },
        out.error, &out.written);
    QFile file(target);
    if (out.result != Result::Done) {
        EXPECT_FALSE(file.exists()) << path.toStdString();
        return out;
    }
    EXPECT_TRUE(out.error.isEmpty()) << out.error.toStdString();
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const WavHeader header = ReadWavHeader(&file, {});
    const WavFormat format = header.format.value_or(WavFormat{});
    const qint64 declared = header.dataSize;
    EXPECT_TRUE(IsDeviceFormat(header));
    EXPECT_EQ(format.blockAlign, 1);
    EXPECT_EQ(format.avgBytesPerSec, 22050u);
    EXPECT_EQ(file.pos(), 44);
    EXPECT_EQ(declared, static_cast<qint64>(out.written));
    EXPECT_EQ(file.size(), 44 + declared + (declared & 1));
    const QByteArray data = file.read(declared);
    out.samples.assign(data.begin(), data.end());
    return out;
}
