#include "app/AppUi.h"
#include "app/CPlayerApp.h"
#include "device/PlayerClaim.h"
#include "download/TrackSlot.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>

// While a command that hands out the user-interface events runs, nothing else may start: the user
// interface is told, and a player that goes meanwhile is the command's to report (the watcher tells
// afterwards).
class CPlayerApp::BusyScope
{
public:
    explicit BusyScope(CPlayerApp& app) : m_app(app)
    {
        if (m_app.m_nBusy++ == 0) {
            notify(true);
        }
    }
    ~BusyScope()
    {
        if (--m_app.m_nBusy == 0) {
            notify(false);
        }
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    void notify(bool busy)
    {
        if (m_app.m_pWatcher) {
            m_app.m_pWatcher->setPaused(busy);
        }
        if (m_app.m_pUi) {
            m_app.m_pUi->busyChanged(busy);
        }
    }

    CPlayerApp& m_app;
};

LoadResult CPlayerApp::LoadFile(const QString& path, int track, int partitionMode,
                                const DeviceConfig& controls, const PartRequest& request)
{
    const std::optional<TrackSlot> slot = TrackSlot::forTrack(partitionMode, track);
    if (IsBusy() || !slot || track < 0 || track >= TrackSlot::countFor(partitionMode)) {
        return IsBusy() ? LoadResult::Busy : LoadResult::Refused;
    }
    // Held until the last block: another program's reports must not fall between this download's.
    const PlayerClaim claim(m_link.openPath());
    if (!claim.granted()) {
        ReportPlayerTaken();
        return LoadResult::Busy;
    }
    BusyScope busy(*this);
    const std::vector<int> erased = TracksErasedBy(partitionMode, slot);
    const QString title = QFileInfo(path).completeBaseName();
    // Asked last, right before the download, naming the tracks as the player holds them: a file that
    // cannot be loaded costs no track. From the answer on, the slot is the new track's.
    bool claimed = false;
    const auto mayErase = [&] {
        if (!erased.empty() && !ConfirmRepartition(partitionMode, erased, true)) {
            return false;
        }
        claimed = true;
        return true;
    };
    const LoadResult result = m_loader.LoadTrack(path, title, *slot, controls, request, mayErase);
    // When nothing was sent, the track the player holds is the one it held, and so is its name.
    if (!claimed || nothingSent(result)) {
        return result;
    }
    // Only a download that ended as it meant to, or was stopped, says how much of the file the slot holds.
    const bool measured = result == LoadResult::Done || result == LoadResult::Stopped;
    NoteTrackLoaded(track, title, measured ? m_download.samplesSent() : 0);
    if (measured) {
        // Stopped or not, the player was divided anew before the first block: the names of tracks that
        // are no longer there would only mislead.
        for (int other : erased) {
            if (other != track) {
                ForgetTrack(other);
            }
        }
    }
    return result;
}

SetOutcome CPlayerApp::LoadFiles(const QStringList& paths, int firstTrack, int partitionMode,
                                 bool partitionFixed, const DeviceConfig& controls,
                                 const PartRequest& request)
{
    SetOutcome declined;
    declined.declined = true;
    declined.ended = LoadResult::Cancelled;
    if (IsBusy() || TrackSlot::countFor(partitionMode) == 0) {
        declined.ended = IsBusy() ? LoadResult::Busy : LoadResult::Refused;
        return declined;
    }
    const PlayerClaim claim(m_link.openPath());
    if (!claim.granted()) {
        ReportPlayerTaken();
        declined.ended = LoadResult::Busy;
        return declined;
    }
    BusyScope busy(*this);
    SetPlan plan = SetPlan::make(paths, firstTrack, partitionMode, partitionFixed, request);
    // Every slot the set writes erases what it overlaps of a partition that was different.
    const auto erasedBy = [this, &plan](const auto& sent) {
        std::vector<int> erased;
        for (std::size_t i = 0; i < plan.entries.size(); ++i) {
            if (sent(i)) {
                for (int track : TracksErasedBy(plan.partitionMode, plan.slotOf(plan.entries[i]))) {
                    if (std::find(erased.begin(), erased.end(), track) == erased.end()) {
                        erased.push_back(track);
                    }
                }
            }
        }
        std::sort(erased.begin(), erased.end());
        return erased;
    };
    for (int track : erasedBy([&plan](std::size_t i) { return plan.entries[i].loadable(); })) {
        plan.erasedNames << QStringLiteral("\"%1\"").arg(m_strTrackName[static_cast<std::size_t>(track)]);
    }
    if (plan.loadableCount() == 0) {
        if (m_pUi) {
            m_pUi->messageBox(tr("Nessuno dei file si può caricare:\n%1").arg(plan.text()),
                              MessageIcon::Error);
        }
        declined.ended = LoadResult::Refused;
        return declined;
    }
    if (!m_pUi || !m_pUi->confirmPlan(plan)) {
        return declined;
    }
    const DeviceConfig sent = DeviceConfig::fromControls(controls.loop(), plan.partitionMode,
                                                         controls.defaultFlag() != 0, controls.Config3);
    SetOutcome outcome = m_setLoader.run(plan, sent);
    const auto wasSent = [&outcome](std::size_t i) {
        const SetOutcome::State state = outcome.files[i].state;
        return state == SetOutcome::State::Complete || state == SetOutcome::State::CutShort;
    };
    for (int track : erasedBy(wasSent)) {
        ForgetTrack(track);
    }
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        if (wasSent(i)) {
            NoteTrackLoaded(plan.entries[i].track, plan.entries[i].title, outcome.files[i].samplesSent);
        }
    }
    if (m_pUi && !outcome.complete()) {
        m_pUi->messageBox(outcome.report(), MessageIcon::Warning);
    }
    return outcome;
}

std::optional<std::vector<std::uint8_t>>
CPlayerApp::RenderFile(const QString& path, int partitionMode, const PartRequest& request, LoadResult& result)
{
    const std::optional<TrackSlot> slot = TrackSlot::forTrack(partitionMode, 0);
    if (IsBusy() || !slot) {
        result = IsBusy() ? LoadResult::Busy : LoadResult::Refused;
        return std::nullopt;
    }
    BusyScope busy(*this);
    return m_loader.RenderPart(path, slot->capacity(), request, result);
}

LoadResult CPlayerApp::ConvertFile(const QString& path, const QString& target, int partitionMode,
                                   const PartRequest& request)
{
    LoadResult result = LoadResult::Done;
    const std::optional<std::vector<std::uint8_t>> samples = RenderFile(path, partitionMode, request, result);
    if (!samples) {
        return result;
    }
    if (const QString error = TrackLoader::WriteWav(*samples, target); !error.isEmpty()) {
        if (m_pUi) {
            m_pUi->messageBox(error, MessageIcon::Error);
        }
        return LoadResult::FileFailed;
    }
    return LoadResult::Done;
}

CPlayerApp::CommandResult CPlayerApp::Play(int track, int partitionMode)
{
    if (RefusedAsTaken()) {
        return CommandResult::PlayerTaken;
    }
    return m_protocol.Play(track, partitionMode) ? CommandResult::Sent : CommandResult::NotTaken;
}

CPlayerApp::CommandResult CPlayerApp::Stop()
{
    if (RefusedAsTaken()) {
        return CommandResult::PlayerTaken;
    }
    return m_protocol.Stop(m_Config) ? CommandResult::Sent : CommandResult::NotTaken;
}

CPlayerApp::ConfigChange CPlayerApp::ChangeConfig(const DeviceConfig& config)
{
    if (IsBusy() || RefusedAsTaken()) {
        return ConfigChange::Declined;
    }
    const std::vector<int> erased = TracksErasedBy(config.partitionMode(), std::nullopt);
    if (!erased.empty() && !ConfirmRepartition(config.partitionMode(), erased, false)) {
        return ConfigChange::Declined;
    }
    if (!(config == m_Config)) {
        if (!m_protocol.SetConfig(config)) {
            return ConfigChange::NotTaken;
        }
        m_Config = config;
        for (int track : erased) {
            ForgetTrack(track);
        }
    }
    return ConfigChange::Sent;
}

std::vector<int> CPlayerApp::TracksErasedBy(int partitionMode, const std::optional<TrackSlot>& target) const
{
    const int reported = m_Config.partitionMode();
    std::vector<int> erased;
    if (reported == partitionMode) {
        return erased;
    }
    for (int track = 0; track < TrackSlot::countFor(reported); ++track) {
        const std::optional<TrackSlot> old = TrackSlot::forTrack(reported, track);
        if (old && (!target || (old->start < target->end() && target->start < old->end()))) {
            erased.push_back(track);
        }
    }
    return erased;
}

bool CPlayerApp::ConfirmRepartition(int partitionMode, const std::vector<int>& erased, bool loading)
{
    QStringList names;
    for (int track : erased) {
        names << QStringLiteral("\"%1\"").arg(m_strTrackName[static_cast<std::size_t>(track)]);
    }
    const int now = TrackSlot::countFor(m_Config.partitionMode());
    const int next = TrackSlot::countFor(partitionMode);
    const auto count = static_cast<int>(erased.size());
    const QString text =
        loading
            ? tr("Il lettore ora è diviso in %1; caricando questo brano con la divisione in %2, lo spazio "
                 "che occupa cancella dal lettore %3: %4.")
                  .arg(Division(now), Division(next), tr("i brani", "erased", count),
                       names.join(QStringLiteral(", ")))
            : tr("Il lettore ora è diviso in %1; la divisione in %2 cancella dal lettore %3: %4.")
                  .arg(Division(now), Division(next), tr("i brani", "erased", count),
                       names.join(QStringLiteral(", ")));
    return m_pUi && m_pUi->ask(text, MessageIcon::Warning, tr("OK"), QString(), nullptr);
}
