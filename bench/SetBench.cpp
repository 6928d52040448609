// Loads eight MP3 files it makes itself (5.9 s each, 44100 Hz stereo, 128 kb/s, libmp3lame) into an
// eight-track simulated player paced like full-speed USB, first as one set (CPlayerApp::LoadFiles: the next
// file converted while the current one goes out), then as eight single loads (CPlayerApp::LoadFile: each
// converted, then sent). The user interface answers every question yes and shows no progress window; it hands
// out the events of a QCoreApplication where a window would. Prints one figure per line:
//   set_time_s             wall time of the set, from LoadFiles to its return
//   set_reports            reports the set put on the bus, in both directions
//   set_bus_bound_s        set_reports times the report time
//   set_time_ratio         set_time_s over set_bus_bound_s
//   set_bus_ratio          the same ratio for the simulated bus alone, driven without the program, half
//                          before the loads and half after, for about as many reports as the set: what the
//                          machine's timers add to every paced report, measured in this run
//   set_program_ratio      set_time_ratio over set_bus_ratio: what the program adds to the bus during the
//                          set (target: 1.01 at most, conversions hidden behind the previous file's
//                          download); the figures below say where it goes
//   set_first_report_ms    from LoadFiles to its first report: the plan and the first file's conversion
//   set_between_files_ms   the bus idle between one file's last report and the next file's first, summed
//   set_idle_us_per_block  the bus idle between reports within the files, per block: the hand-over of each
//                          acknowledgement from the reader thread and the user-interface thread's work on it
//   bus_idle_us_per_block  the same for the bus alone, whose one thread reads the acknowledgement itself
//   set_stall_ms           the bus idle for longer than a report time between two reports, wherever, summed
//                          (set_stalls of them, the longest set_longest_stall_ms); SET_BENCH_STALLS=1 in the
//                          environment lists each on stderr
//   singles_time_s, singles_time_ratio, singles_program_ratio, singles_between_files_ms,
//   singles_idle_us_per_block, singles_stall_ms
//                          the same files as eight single loads, over the same bus ratio
//   first_conversion_ms    the first file read and its part rendered on its own, no player (the median of 3)
// Usage: set_bench [report time in microseconds, default 1000 as on full-speed USB] [folder for the files]

#include "AudioFileMaker.h"
#include "BenchSupport.h"
#include "PacedBus.h"

#include "app/AppUi.h"
#include "app/CPlayerApp.h"
#include "device/HidBackend.h"
#include "device/Protocol.h"
#include "download/TrackSet.h"
#include "download/TrackSlot.h"
#include "download/TrackSource.h"
#include "sim/SimulatedPlayer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <sys/prctl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

using BenchSupport::Clock;
using BenchSupport::since;

constexpr int kFiles = 8;
constexpr double kFileSeconds = 5.9;
constexpr int kEightTracks = 3;

// The bus as the program uses it: every report counted, and when each output report was written, so that
// the time the bus stood idle can be placed.
class CountingBackend : public HidBackend
{
public:
    struct Write
    {
        Clock::time_point start;
        Clock::time_point end;
        long readsBefore; // input reports taken before this write began
        bool opensFile;   // the configuration a download sends first
    };

    explicit CountingBackend(std::unique_ptr<SimulatedPlayer> player) : m_player(std::move(player)) {}

    SimulatedPlayer& player() { return *m_player; }
    std::vector<HidDeviceInfo> enumerate() override { return m_player->enumerate(); }
    std::unique_ptr<HidDevice> open(const std::string& path) override
    {
        std::unique_ptr<HidDevice> device = m_player->open(path);
        return device ? std::make_unique<Handle>(*this, std::move(device)) : nullptr;
    }
    std::uint32_t lastError() const override { return m_player->lastError(); }

    // Starts a fresh count. Only while the program runs nothing: writes come from one thread at a time.
    void restart()
    {
        m_writes.clear();
        m_reads = 0;
    }
    long reports() const { return static_cast<long>(m_writes.size()) + m_reads.load(); }
    const std::vector<Write>& writes() const { return m_writes; }

private:
    class Handle : public HidDevice
    {
    public:
        Handle(CountingBackend& owner, std::unique_ptr<HidDevice> device)
            : m_owner(owner), m_device(std::move(device))
        {}
        int write(std::span<const std::uint8_t> report) override
        {
            const long reads = m_owner.m_reads.load();
            const auto start = Clock::now();
            const int written = m_device->write(report);
            if (written > 0) {
                const bool opensFile = report.size() > 1 && report[1] == Protocol::CMD_SET_CONFIG;
                m_owner.m_writes.push_back({start, Clock::now(), reads, opensFile});
            }
            return written;
        }
        int read(std::span<std::uint8_t> buffer, int timeoutMs) override
        {
            const int n = m_device->read(buffer, timeoutMs);
            if (n > 0) {
                ++m_owner.m_reads;
            }
            return n;
        }
        std::vector<std::uint8_t> reportDescriptor() override { return m_device->reportDescriptor(); }

    private:
        CountingBackend& m_owner;
        std::unique_ptr<HidDevice> m_device;
    };

    std::unique_ptr<SimulatedPlayer> m_player;
    std::vector<Write> m_writes;
    std::atomic<long> m_reads{0};
};

// A user who agrees to everything, in front of a user interface with no windows.
class YesUi : public AppUi
{
public:
    void messageBox(const QString& text, MessageIcon) override { messages << text; }
    std::unique_ptr<ProgressIndicator> createProgress(const QString&, int) override { return nullptr; }
    void processEvents() override { QCoreApplication::processEvents(); }
    bool ask(const QString&, MessageIcon, const QString&, const QString&, bool*) override { return true; }
    bool waitWithProgress(const QString&, const std::function<double()>&,
                          const std::function<bool()>& finished) override
    {
        while (!finished()) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    void runMainWindow(CPlayerApp&) override {}
    void deviceChanged(bool) override {}

    QStringList messages;
};

struct Measured
{
    double seconds = 0;
    long reports = 0;
    double firstReportMs = 0;
    double betweenFilesMs = 0;
    double idleMs = 0;
    int stalls = 0;
    double stallMs = 0;
    double longestStallMs = 0;

    double idleWithinFilesPerBlockUs() const
    {
        return (idleMs - betweenFilesMs) * 1000 / (static_cast<double>(reports) / PacedBus::kReportsPerBlock);
    }
};

// Where the bus stood idle: between two output reports, beyond what the input reports between them took.
Measured measure(const CountingBackend& bus, Clock::time_point start, double seconds, double reportSeconds)
{
    Measured m{seconds, bus.reports()};
    const std::vector<CountingBackend::Write>& writes = bus.writes();
    if (writes.empty()) {
        return m;
    }
    m.firstReportMs = std::chrono::duration<double, std::milli>(writes.front().start - start).count();
    for (std::size_t i = 1; i < writes.size(); ++i) {
        const double gap = std::chrono::duration<double>(writes[i].start - writes[i - 1].end).count();
        const double idle =
            gap - static_cast<double>(writes[i].readsBefore - writes[i - 1].readsBefore) * reportSeconds;
        m.idleMs += idle * 1000;
        if (writes[i].opensFile) {
            m.betweenFilesMs += idle * 1000;
        }
        if (idle > reportSeconds) {
            ++m.stalls;
            m.stallMs += idle * 1000;
            m.longestStallMs = std::max(m.longestStallMs, idle * 1000);
            if (qEnvironmentVariableIsSet("SET_BENCH_STALLS")) {
                std::fprintf(stderr, "stall %zu at %.3f s: %.2f ms\n", i,
                             std::chrono::duration<double>(writes[i].start - start).count(), idle * 1000);
            }
        }
    }
    return m;
}

[[noreturn]] void fail(const char* what, const YesUi& ui)
{
    std::fprintf(stderr, "%s\n%s\n", what, qPrintable(ui.messages.join(QLatin1Char('\n'))));
    std::exit(1);
}

double firstConversionMs(const QString& path, std::uint32_t capacity)
{
    std::vector<double> runs;
    for (int run = 0; run < 3; ++run) {
        const auto start = Clock::now();
        TrackSource source(path);
        QString error = source.open();
        if (error.isEmpty() && source.read().state == TrackSource::State::Done) {
            if (source.render(source.resolve(PartRequest{}, capacity), error)) {
                runs.push_back(since(start) * 1000);
                continue;
            }
        }
        std::fprintf(stderr, "cannot convert %s: %s\n", qPrintable(path), qPrintable(error));
        std::exit(1);
    }
    return BenchSupport::median(runs);
}

} // namespace

int main(int argc, char* argv[])
{
    // The simulated bus paces reports with sleeps; the default timer slack of 50 us would add more to each
    // report than the host does. Threads started later inherit the setting.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    QCoreApplication application(argc, argv);
    const long reportMicros = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;
    const double reportSeconds = static_cast<double>(reportMicros) / 1e6;
    QTemporaryDir temporary;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporary.path();

    const AudioFileMaker::Format mp3{"mp3", "libmp3lame", 44100, 2, 128000};
    const AudioFileMaker::Signal signal = BenchSupport::music();
    QStringList paths;
    for (int i = 1; i <= kFiles; ++i) {
        const QString path = folder + QStringLiteral("/brano-%1.mp3").arg(i);
        if (!QFile::exists(path)) {
            if (const QString error = AudioFileMaker::write(path, mp3, kFileSeconds, signal);
                !error.isEmpty()) {
                std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(error));
                return 1;
            }
        }
        paths << path;
    }
    const TrackSlot slot = *TrackSlot::forTrack(kEightTracks, 0);
    const double firstConversion = firstConversionMs(paths.front(), slot.capacity());

    // Half of the bus alone before the loads and half after, so that a machine whose load changes meanwhile
    // weighs on both sides alike. About as many blocks as the set writes.
    constexpr int kBusBlocks = 8000;
    auto owned = std::make_unique<CountingBackend>(std::make_unique<SimulatedPlayer>());
    CountingBackend& bus = *owned;
    bus.player().setReportTime(std::chrono::microseconds(reportMicros));
    double busSeconds = PacedBus::busAloneSeconds(bus, kBusBlocks);
    double busIdleMs = measure(bus, Clock::now(), 0, reportSeconds).idleMs;
    CPlayerApp app;
    app.SetBackend(std::move(owned));
    YesUi ui;
    app.SetUi(&ui);
    if (app.OpenDevice() != 0) {
        fail("the simulated player did not open", ui);
    }
    const DeviceConfig controls =
        DeviceConfig::fromControls(false, kEightTracks, false, app.m_Config.Config3);

    bus.restart();
    auto start = Clock::now();
    const SetOutcome outcome = app.LoadFiles(paths, 0, kEightTracks, true, controls);
    const Measured set = measure(bus, start, since(start), reportSeconds);
    if (!outcome.complete() || outcome.count(SetOutcome::State::Complete) != kFiles) {
        fail(qPrintable(outcome.report()), ui);
    }

    bus.restart();
    start = Clock::now();
    for (int track = 0; track < kFiles; ++track) {
        if (app.LoadFile(paths[track], track, kEightTracks, controls) != LoadResult::Done) {
            fail("a single load failed", ui);
        }
    }
    const Measured singles = measure(bus, start, since(start), reportSeconds);
    app.CloseDevice();

    bus.restart();
    busSeconds += PacedBus::busAloneSeconds(bus, kBusBlocks);
    busIdleMs += measure(bus, Clock::now(), 0, reportSeconds).idleMs;
    const double busRatio = busSeconds / (2 * kBusBlocks * PacedBus::kReportsPerBlock * reportSeconds);

    const double setBound = static_cast<double>(set.reports) * reportSeconds;
    const double singlesBound = static_cast<double>(singles.reports) * reportSeconds;
    std::printf("set_time_s: %.3f\n", set.seconds);
    std::printf("set_reports: %ld\n", set.reports);
    std::printf("set_bus_bound_s: %.3f\n", setBound);
    std::printf("set_time_ratio: %.4f\n", set.seconds / setBound);
    std::printf("set_bus_ratio: %.4f\n", busRatio);
    std::printf("set_program_ratio: %.4f\n", set.seconds / setBound / busRatio);
    std::printf("set_first_report_ms: %.1f\n", set.firstReportMs);
    std::printf("set_between_files_ms: %.1f\n", set.betweenFilesMs);
    std::printf("set_idle_us_per_block: %.1f\n", set.idleWithinFilesPerBlockUs());
    std::printf("bus_idle_us_per_block: %.1f\n", busIdleMs * 1000 / (2 * kBusBlocks));
    std::printf("set_stalls: %d\n", set.stalls);
    std::printf("set_stall_ms: %.1f\n", set.stallMs);
    std::printf("set_longest_stall_ms: %.1f\n", set.longestStallMs);
    std::printf("singles_time_s: %.3f\n", singles.seconds);
    std::printf("singles_time_ratio: %.4f\n", singles.seconds / singlesBound);
    std::printf("singles_program_ratio: %.4f\n", singles.seconds / singlesBound / busRatio);
    std::printf("singles_between_files_ms: %.1f\n", singles.betweenFilesMs);
    std::printf("singles_idle_us_per_block: %.1f\n", singles.idleWithinFilesPerBlockUs());
    std::printf("singles_stall_ms: %.1f\n", singles.stallMs);
    std::printf("first_conversion_ms: %.1f\n", firstConversion);
    return 0;
}
