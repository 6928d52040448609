// Downloads a full one-track slot (16,382 blocks) to the simulated player through the program's own code
// path, progress window included, and prints one figure per line:
//   unpaced_blocks_per_s   blocks per second with an infinitely fast bus (the median of five downloads)
//   unpaced_ui_cpu_s       CPU time of the user-interface thread for that download
//   paced_time_ratio       wall time with a fixed time per report, over the bus bound (4 reports per block)
//   paced_ui_cpu_share     user-interface CPU time over wall time in the paced run
//   paced_bus_ratio        the same ratio for the simulated bus alone, driven without the program: what
//                          the machine's timers add to every paced report, measured in the same run
//   paced_program_ratio    paced_time_ratio over paced_bus_ratio: what the program adds to the bus
//   rss_growth_kib         growth of the peak resident memory over the measured downloads, after one
//                          download that fills the caches that are made once (fonts, the style's pixmaps)
// Usage: download_bench [report time in microseconds, default 1000 as on full-speed USB]

#include "PacedBus.h"

#include "app/CPlayerApp.h"
#include "download/TrackSlot.h"
#include "sim/SimulatedPlayer.h"
#include "ui/WidgetAppUi.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <sys/prctl.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

long peakRssKib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A WAV file of the player's format holding sampleCount samples.
bool writeWav(const QString& path, std::uint32_t sampleCount)
{
    QByteArray bytes;
    const auto u32 = [&bytes](std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.append(static_cast<char>((v >> shift) & 0xFF));
        }
    };
    const auto u16 = [&bytes](std::uint16_t v) {
        bytes.append(static_cast<char>(v & 0xFF));
        bytes.append(static_cast<char>(v >> 8));
    };
    bytes.append("RIFF");
    u32(4 + 24 + 8 + sampleCount);
    bytes.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(22050);
    u32(22050);
    u16(1);
    u16(8);
    bytes.append("data");
    u32(sampleCount);
    for (std::uint32_t i = 0; i < sampleCount; ++i) {
        bytes.append(static_cast<char>((i * 7 + i / 251) & 0x7F));
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct Run
{
    double seconds;
    double uiCpu;
};

Run download(CPlayerApp& app, const QString& path, std::uint32_t samples)
{
    const TrackSlot slot = *TrackSlot::forTrack(0, 0);
    const double cpu = threadCpuSeconds();
    const auto start = Clock::now();
    const LoadResult result =
        app.DownloadTrack(path, QStringLiteral("bench"), slot.start, slot.length, DeviceConfig::defaults());
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (result != LoadResult::Done) {
        std::fprintf(stderr, "download of %u samples failed: %d\n", samples, static_cast<int>(result));
        std::exit(1);
    }
    return {seconds, threadCpuSeconds() - cpu};
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    // The simulated bus paces reports with sleeps; the default timer slack of 50 us would add more to
    // each report than the host does. Threads started later inherit the setting.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    QApplication application(argc, argv);
    const long reportMicros = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;

    constexpr std::uint32_t kFullSlotSamples = 1048320;
    constexpr double kBlocks = 16382;
    QTemporaryDir dir;
    const QString full = dir.filePath(QStringLiteral("full.wav"));
    if (!writeWav(full, kFullSlotSamples)) {
        std::fprintf(stderr, "cannot write the test files in %s\n", qPrintable(dir.path()));
        return 1;
    }

    CPlayerApp app;
    auto owned = std::make_unique<SimulatedPlayer>();
    SimulatedPlayer& player = *owned;
    app.SetBackend(std::move(owned));
    WidgetAppUi ui;
    app.SetUi(&ui);
    if (app.OpenDevice() != 0) {
        return 1;
    }

    // One download first, so that what is made once is not counted as growth: the progress bar's style
    // caches a pixmap for each width its chunk is painted at.
    download(app, full, kFullSlotSamples);
    const long rssBefore = peakRssKib();

    // Unpaced, the download is as fast as the threads hand over the acknowledgements, which a shared
    // machine disturbs now and then: the median of several runs says more than one.
    std::vector<Run> runs;
    for (int i = 0; i < 5; ++i) {
        runs.push_back(download(app, full, kFullSlotSamples));
    }
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.seconds < b.seconds; });
    const Run unpaced = runs[runs.size() / 2];

    player.setReportTime(std::chrono::microseconds(reportMicros));
    const Run paced = download(app, full, kFullSlotSamples);
    const double bound = kBlocks * PacedBus::kReportsPerBlock * static_cast<double>(reportMicros) / 1e6;
    const long rssAfter = peakRssKib();
    app.CloseDevice();

    constexpr int kBusBlocks = 2000;
    const double busRatio =
        PacedBus::busAloneSeconds(player, kBusBlocks) /
        (kBusBlocks * PacedBus::kReportsPerBlock * static_cast<double>(reportMicros) / 1e6);

    std::printf("unpaced_blocks_per_s: %.0f\n", kBlocks / unpaced.seconds);
    std::printf("unpaced_ui_cpu_s: %.3f\n", unpaced.uiCpu);
    std::printf("paced_time_ratio: %.4f\n", paced.seconds / bound);
    std::printf("paced_ui_cpu_share: %.4f\n", paced.uiCpu / paced.seconds);
    std::printf("paced_bus_ratio: %.4f\n", busRatio);
    std::printf("paced_program_ratio: %.4f\n", paced.seconds / bound / busRatio);
    std::printf("rss_growth_kib: %ld\n", rssAfter - rssBefore);
    return 0;
}
