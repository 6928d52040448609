#include "download/SetLoader.h"

#include "download/DownloadUi.h"
#include "download/TrackDownload.h"
#include "download/TrackLoader.h"
#include "download/TrackSource.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace {

// How often a wait for the next file's conversion looks at it and hands out the user-interface events.
constexpr std::chrono::milliseconds kConversionPoll{10};

} // namespace

// What one file's download sees as its user interface: the set's progress window, with the file's share of
// it, and messages kept for the set's report instead of a box per file.
class SetLoader::FileUi : public DownloadUi
{
public:
    FileUi(DownloadUi* ui, ProgressIndicator* progress, int count) : m_ui(ui), m_set(progress), m_count(count)
    {}

    void begin(int index, qint64 base, qint64 length)
    {
        m_index = index;
        m_base = base;
        m_length = std::max<qint64>(length, 1);
        m_sent = 0;
        m_percent = -1;
        m_message.clear();
    }
    qint64 sent() const { return m_sent; }
    QString message() const { return m_message; }
    bool stopRequested() const { return m_set && m_set->stopRequested(); }
    void show(const QString& item, int percent)
    {
        if (!m_set) {
            return;
        }
        if (item != m_item) {
            m_item = item;
            m_set->SetDetail(SetLoader::tr("File %1 di %2: %3").arg(m_index + 1).arg(m_count).arg(item));
        }
        if (percent != m_percent) {
            m_percent = percent;
            m_set->SetItemProgress(percent);
        }
    }
    void moved(qint64 sent)
    {
        m_sent = std::clamp<qint64>(sent, 0, m_length);
        if (m_set) {
            m_set->SetPos(static_cast<int>(m_base + m_sent));
        }
        show(m_item, static_cast<int>(m_sent * 100 / m_length));
    }

    void messageBox(const QString& text, MessageIcon) override { m_message = text; }
    std::unique_ptr<ProgressIndicator> createProgress(const QString&, int) override
    {
        return std::make_unique<Share>(*this);
    }
    void processEvents() override
    {
        if (m_ui) {
            m_ui->processEvents();
        }
    }
    // Every question was answered by the plan.
    bool ask(const QString&, MessageIcon, const QString&, const QString&, bool*) override { return false; }
    bool waitWithProgress(const QString&, const std::function<double()>&,
                          const std::function<bool()>&) override
    {
        return false;
    }

private:
    // The download's progress as a share of the set's.
    class Share : public ProgressIndicator
    {
    public:
        explicit Share(FileUi& owner) : m_owner(owner) {}
        void SetPos(int pos) override { m_owner.moved(qint64{pos} - TrackSlot::kHeaderSize); }
        void SetDetail(const QString& detail) override { m_owner.show(detail, 0); }
        bool stopRequested() const override { return m_owner.stopRequested(); }

    private:
        FileUi& m_owner;
    };

    DownloadUi* m_ui;
    ProgressIndicator* m_set;
    int m_count;
    int m_index = 0;
    qint64 m_base = 0;
    qint64 m_length = 1;
    qint64 m_sent = 0;
    int m_percent = -1;
    QString m_item;
    QString m_message;
};

std::optional<std::vector<std::uint8_t>> SetLoader::samplesOf(SetEntry& entry, const SetPlan& plan,
                                                              FileUi& ui, bool& stopped, QString& error)
{
    if (entry.prepared) {
        return std::move(entry.prepared->samples);
    }
    TrackSource& source = *entry.source;
    const std::uint64_t capacity = plan.slotOf(entry).capacity();
    const auto wanted = [&] {
        // The loudest part needs the whole file; any other, what the part reaches and one sample more, so
        // that whether it ends at the file's end is known.
        const double start = entry.request.startSeconds.value_or(0);
        return entry.request.loudest
                   ? TrackSource::kWholeFile
                   : static_cast<std::uint64_t>(std::llround(start * TrackSlot::kSampleRate)) + capacity + 1;
    }();
    source.startReading();
    for (;;) {
        const TrackSource::Progress read = source.progress();
        if (read.state != TrackSource::State::Reading || read.samples >= wanted) {
            break;
        }
        if (ui.stopRequested()) {
            source.cancel();
            stopped = true;
            return std::nullopt;
        }
        ui.show(tr("conversione di \"%1\"").arg(entry.title), static_cast<int>(read.fraction * 100));
        ui.processEvents();
        std::this_thread::sleep_for(kConversionPoll);
    }
    const TrackSource::Progress read = source.progress();
    if (read.state == TrackSource::State::Failed || read.state == TrackSource::State::Cancelled) {
        error = read.error;
        return std::nullopt;
    }
    std::optional<std::vector<std::uint8_t>> samples =
        source.render(source.resolve(entry.request, capacity), error);
    // The rest of a long file is not needed: its reading stops.
    source.cancel();
    return samples;
}

SetOutcome SetLoader::run(SetPlan& plan, const DeviceConfig& controls)
{
    SetOutcome outcome;
    std::vector<std::size_t> order;
    qint64 total = 0;
    const int trackCount = TrackSlot::countFor(plan.partitionMode);
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        const SetEntry& entry = plan.entries[i];
        outcome.files.push_back({entry.title, entry.track, trackCount,
                                 entry.loadable() ? SetOutcome::State::NotSent : SetOutcome::State::Skipped,
                                 0, entry.loadable() ? QString() : plan.partText(entry)});
        if (entry.loadable()) {
            order.push_back(i);
            total += static_cast<qint64>(entry.prepared ? entry.prepared->samples.size() : entry.part.length);
        }
    }
    const auto count = static_cast<int>(order.size());
    std::unique_ptr<ProgressIndicator> progress =
        m_pUi ? m_pUi->createSetProgress(tr("Caricamento di %n file in corso...", nullptr, count),
                                         static_cast<int>(std::max<qint64>(total, 1)))
              : nullptr;
    FileUi ui(m_pUi, progress.get(), count);
    qint64 base = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        SetEntry& entry = plan.entries[order[k]];
        SetOutcome::File& file = outcome.files[order[k]];
        ui.begin(static_cast<int>(k), base, static_cast<qint64>(entry.part.length));
        bool stopped = false;
        QString error;
        const std::optional<std::vector<std::uint8_t>> samples = samplesOf(entry, plan, ui, stopped, error);
        if (!samples) {
            outcome.stopped = stopped;
            outcome.reason = error;
            outcome.ended = stopped ? LoadResult::Cancelled : LoadResult::FileFailed;
            break;
        }
        // The next file is read while this one goes out.
        if (k + 1 < order.size()) {
            if (SetEntry& next = plan.entries[order[k + 1]]; !next.prepared) {
                next.source->startReading();
            }
        }
        ui.begin(static_cast<int>(k), base, static_cast<qint64>(samples->size()));
        m_loader.setUi(&ui);
        m_loader.download().setUi(&ui);
        const LoadResult result =
            m_loader.SendSamples(*samples, entry.path, entry.title, plan.slotOf(entry), controls);
        m_loader.setUi(m_pUi);
        m_loader.download().setUi(m_pUi);
        file.samplesSent = static_cast<std::uint32_t>(ui.sent());
        base += static_cast<qint64>(samples->size());
        if (result == LoadResult::Done) {
            file.state = SetOutcome::State::Complete;
            continue;
        }
        // A player that stopped answering may hold part of the file: it is not passed off as untouched.
        const bool touched = result == LoadResult::DeviceFailed || (!nothingSent(result) && ui.sent() > 0);
        file.state = touched ? SetOutcome::State::CutShort : SetOutcome::State::NotSent;
        outcome.ended = result;
        outcome.stopped = result == LoadResult::Stopped || result == LoadResult::Cancelled;
        if (!outcome.stopped) {
            outcome.reason = ui.message();
        }
        break;
    }
    if (progress && outcome.complete()) {
        // The set's length was reckoned from what the files say of themselves: the bar ends full.
        progress->SetPos(static_cast<int>(std::max<qint64>(total, 1)));
    }
    return outcome;
}
