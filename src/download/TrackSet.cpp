#include "download/TrackSet.h"

#include "download/DownloadUi.h"
#include "download/Durations.h"
#include "download/TrackSource.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMostTracks = 8;

std::uint64_t samplesOf(double seconds)
{
    return static_cast<std::uint64_t>(std::llround(std::max(seconds, 0.0) * TrackSlot::kSampleRate));
}

double secondsOf(std::uint64_t samples)
{
    return static_cast<double>(samples) / TrackSlot::kSampleRate;
}

} // namespace

SetPlan SetPlan::make(const QStringList& paths, int firstTrack, int partitionMode, bool partitionFixed,
                      const PartRequest& request)
{
    SetPlan plan;
    plan.firstTrack = std::clamp(firstTrack, 0, kMostTracks - 1);
    // A dropped folder may hold hundreds of files: those past the last track are looked at and closed again,
    // so that no more decoders and temporary files are open than tracks can take.
    int room = kMostTracks - plan.firstTrack;
    for (const QString& path : paths) {
        SetEntry entry;
        entry.path = path;
        entry.title = QFileInfo(path).completeBaseName();
        entry.request = request;
        entry.source = std::make_shared<TrackSource>(path);
        entry.error = entry.source->open();
        if (entry.error.isEmpty()) {
            entry.seconds = entry.source->info().seconds;
        }
        if (!entry.error.isEmpty() || room-- <= 0) {
            entry.source.reset();
        }
        plan.entries.push_back(std::move(entry));
    }
    const int wanted = plan.firstTrack + plan.loadableCount();
    plan.partitionMode = partitionMode;
    if (!partitionFixed && wanted > TrackSlot::countFor(partitionMode)) {
        // The fewest tracks that take them all: the longest slots.
        plan.partitionMode = TrackSlot::modeForCount(kMostTracks).value_or(3);
        for (int mode = partitionMode; mode <= 3; ++mode) {
            if (TrackSlot::countFor(mode) >= wanted) {
                plan.partitionMode = mode;
                break;
            }
        }
    }
    int track = plan.firstTrack;
    const int count = TrackSlot::countFor(plan.partitionMode);
    for (SetEntry& entry : plan.entries) {
        if (entry.error.isEmpty() && track < count) {
            entry.track = track++;
            plan.placePart(entry);
        } else {
            entry.source.reset();
        }
    }
    return plan;
}

TrackSlot SetPlan::slotOf(const SetEntry& entry) const
{
    return TrackSlot::forTrack(partitionMode, std::max(entry.track, 0)).value_or(TrackSlot{});
}

int SetPlan::loadableCount() const
{
    return static_cast<int>(
        std::count_if(entries.begin(), entries.end(), [](const SetEntry& e) { return e.error.isEmpty(); }));
}

void SetPlan::placePart(SetEntry& entry) const
{
    // What the file says of its length is enough to show the part; the part sent is made again from what
    // the reading finds.
    const std::uint64_t capacity = slotOf(entry).capacity();
    const std::uint64_t samples = entry.seconds > 0 ? samplesOf(entry.seconds) : capacity;
    std::uint64_t start = 0;
    if (entry.request.startSeconds) {
        start = std::min(samplesOf(*entry.request.startSeconds), samples > capacity ? samples - capacity : 0);
    }
    entry.part.start = start;
    entry.part.length = std::min(capacity, samples - start);
}

QString SetPlan::trackText(const SetEntry& entry) const
{
    if (entry.track < 0) {
        return QStringLiteral("—");
    }
    return tr("Brano %1 di %2").arg(entry.track + 1).arg(TrackSlot::countFor(partitionMode));
}

QString SetPlan::lengthText(const SetEntry& entry)
{
    return entry.seconds > 0 ? Durations::clock(std::llround(entry.seconds)) : QStringLiteral("?");
}

QString SetPlan::partText(const SetEntry& entry) const
{
    if (!entry.error.isEmpty()) {
        return tr("non si carica: %1").arg(entry.error);
    }
    if (entry.track < 0) {
        return tr("non entra: il lettore tiene al massimo %n brani", nullptr, kMostTracks);
    }
    const TrackPart& part = entry.prepared ? entry.prepared->part : entry.part;
    const bool whole = part.start == 0 && entry.seconds > 0 && part.length >= samplesOf(entry.seconds);
    if (whole && !entry.prepared && !entry.request.loudest) {
        return tr("tutto");
    }
    if (entry.request.loudest && !entry.prepared) {
        return tr("la parte più forte, %1 s").arg(Durations::tenths(secondsOf(part.length)));
    }
    return tr("da %1 a %2")
        .arg(Durations::clockTenths(secondsOf(part.start)), Durations::clockTenths(secondsOf(part.end())));
}

QString SetPlan::summary() const
{
    QStringList lines;
    const int count = TrackSlot::countFor(partitionMode);
    lines << tr("Il lettore sarà diviso in %n brani da %1 s ciascuno.", nullptr, count)
                 .arg(Durations::tenths(TrackSlot::secondsFor(partitionMode)));
    if (!erasedNames.isEmpty()) {
        lines << tr("Questa divisione cancella dal lettore %n brani: %1.", nullptr,
                    static_cast<int>(erasedNames.size()))
                     .arg(erasedNames.join(QStringLiteral(", ")));
    }
    const auto sent = static_cast<int>(
        std::count_if(entries.begin(), entries.end(), [](const SetEntry& e) { return e.loadable(); }));
    const int readable = loadableCount();
    if (sent < readable) {
        lines << tr("Entrano %1 file su %2: gli altri non hanno un brano libero.").arg(sent).arg(readable);
    }
    const auto unreadable = static_cast<int>(entries.size()) - readable;
    if (unreadable > 0) {
        lines << tr("%n file non si possono caricare e saranno saltati.", nullptr, unreadable);
    }
    return lines.join(QLatin1Char('\n'));
}

QString SetPlan::text() const
{
    QStringList lines;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const SetEntry& entry = entries[i];
        lines << tr("%1. \"%2\" (%3) → %4: %5")
                     .arg(i + 1)
                     .arg(entry.title, lengthText(entry), trackText(entry), partText(entry));
    }
    lines << summary();
    return lines.join(QLatin1Char('\n'));
}

bool DownloadUi::confirmPlan(SetPlan& plan)
{
    return ask(plan.text(), MessageIcon::Question, SetPlan::tr("Carica tutti"));
}

int SetOutcome::count(State state) const
{
    return static_cast<int>(
        std::count_if(files.begin(), files.end(), [state](const File& f) { return f.state == state; }));
}

bool SetOutcome::complete() const
{
    return !declined && reason.isEmpty() && !stopped && count(State::NotSent) == 0 &&
           count(State::CutShort) == 0;
}

QString SetOutcome::report() const
{
    QStringList lines;
    for (const File& file : files) {
        const QString where =
            tr("\"%1\" nel brano %2 di %3").arg(file.title).arg(file.track + 1).arg(file.trackCount);
        switch (file.state) {
        case State::Complete:
            lines << tr("Completo: %1.").arg(where);
            break;
        case State::CutShort:
            lines << tr("Interrotto: %1 contiene solo i primi %2 s.")
                         .arg(where, Durations::tenths(secondsOf(file.samplesSent)));
            break;
        case State::NotSent:
            lines << tr("Non inviato: %1.").arg(where);
            break;
        case State::Skipped:
            lines << tr("Saltato: \"%1\", %2").arg(file.title, file.why) +
                         (file.why.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral("."));
            break;
        }
    }
    if (!reason.isEmpty()) {
        lines << QString() << reason;
    } else if (complete()) {
        lines << tr("Caricati %n file nel lettore.", nullptr, count(State::Complete));
    }
    return lines.join(QLatin1Char('\n'));
}
