#include "BenchSupport.h"

#include <QFile>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>

namespace BenchSupport {

namespace {

constexpr int kRate = 44100;
bool peakWasReset = false;

} // namespace

double since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

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

long resetPeakKib()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    peakWasReset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    clear.close();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return peakWasReset ? statusKib("VmRSS:") : usage.ru_maxrss;
}

long peakKib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return peakWasReset ? statusKib("VmHWM:") : usage.ru_maxrss;
}

} // namespace BenchSupport
