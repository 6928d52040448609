#include "app/CPlayerApp.h"

#include "app/AppUi.h"
#include "app/CRegSettings.h"
#include "app/OpenFailureAdvice.h"
#include "device/UiMessagePump.h"
#include "download/TrackSlot.h"
#include "res/StringTable.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// A node that appears before udev has given it to the user is tried this often, this far apart.
constexpr int kArrivalAttempts = 10;
constexpr std::chrono::milliseconds kArrivalRetry{100};

} // namespace

CPlayerApp::CPlayerApp() = default;

CPlayerApp::~CPlayerApp()
{
    CloseDevice();
}

void CPlayerApp::SetUi(AppUi* ui)
{
    m_pUi = ui;
    m_download.setUi(ui);
    m_loader.setUi(ui);
}

bool CPlayerApp::InitInstance()
{
    LoadSettings();
    m_Config = {0, 0, 45};
    m_nDefaultTrack = 0;
    m_nDeviceState = 0;
    m_bPlaying = 0;

    // Lets the event loop of the modal windows deliver what the reader posts.
    UiMessagePump pump(m_messages);

    OpenDevice();
    if (m_pUi) {
        m_pUi->runMainWindow(*this);
    }
    CloseDevice();
    SaveSettings();
    return false;
}

void CPlayerApp::LoadSettings(const QString& application)
{
    SetRegistryKey(QStringLiteral("Quenmark Audio"));
    m_pSettings = std::make_unique<CRegSettings>(m_strRegistryKey, application);
    for (int track = 0; track < kSavedTracks; ++track) {
        QString name;
        m_pSettings->ReadString(m_pSettings->m_pszSection, TrackValueName(track), name, 255, QString());
        m_strTrackName[static_cast<std::size_t>(track)] = name;
    }
    for (std::size_t i = 0; i < m_strTrackName.size(); ++i) {
        if (m_strTrackName[i].isEmpty()) {
            m_strTrackName[i] = DefaultTrackName(static_cast<int>(i));
        }
    }
}

void CPlayerApp::SaveSettings()
{
    if (!m_pSettings) {
        return;
    }
    const char* section = m_pSettings->m_pszSection;
    m_pSettings->BeginSave();
    m_pSettings->WriteNumber(section, StringTable::load(IDS_CONFIG1), m_Config.Config1);
    m_pSettings->WriteNumber(section, StringTable::load(IDS_CONFIG2), m_Config.Config2);
    m_pSettings->WriteNumber(section, StringTable::load(IDS_CONFIG3), m_Config.Config3);
    for (int track = 0; track < kSavedTracks; ++track) {
        m_pSettings->WriteString(section, TrackValueName(track),
                                 m_strTrackName[static_cast<std::size_t>(track)]);
    }
    // The windows are gone by now: a save that could not be done is said where the program was started.
    if (m_pSettings->EndSave() != 0) {
        std::fprintf(stderr, "%s\n", qPrintable(m_pSettings->LastFailure()));
    }
    m_pSettings.reset();
}

QString CPlayerApp::Division(int count)
{
    return tr("%n brani", "division", count);
}

QString CPlayerApp::TrackValueName(int track)
{
    // The first four under the names the program has always used; the others beside them, the same way.
    return track < 4 ? StringTable::load(IDS_BRANO1 + track) : QStringLiteral("Brano%1").arg(track + 1);
}

QString CPlayerApp::DefaultTrackName(int track)
{
    return tr("Brano %1").arg(track + 1);
}

void CPlayerApp::ReportOpenFailure(std::uint32_t errorCode)
{
    if (!m_pUi) {
        return;
    }
    if (errorCode == DeviceLink::kErrorNotSupported) {
        m_pUi->messageBox(QStringLiteral("Unable to open VxD, device does not support DeviceIOCTL"),
                          MessageIcon::Warning);
        return;
    }
    // The device's own message first, then what it means to the user and what to do.
    const QString code = QStringLiteral("Unable to open VxD, Error code: %1").arg(errorCode, 0, 16);
    m_pUi->messageBox(code + QStringLiteral("\n\n") + OpenFailureAdvice::forCode(errorCode),
                      MessageIcon::Warning);
}

int CPlayerApp::OpenDevice()
{
    if (const std::uint32_t failure = m_link.open(); failure != 0) {
        ReportOpenFailure(failure);
        m_nDeviceState = -1;
        return -1;
    }
    m_nDeviceState = 1;
    return 0;
}

void CPlayerApp::CloseDevice()
{
    m_link.close();
}

void CPlayerApp::SetWatcher(std::unique_ptr<DeviceWatcher> watcher)
{
    m_pWatcher = std::move(watcher);
    if (m_pWatcher) {
        QObject::connect(m_pWatcher.get(), &DeviceWatcher::changed, m_pWatcher.get(),
                         [this](const std::vector<std::string>& removed) { OnDevicesChanged(removed); });
    }
}

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

std::optional<QString> CPlayerApp::DeviceText()
{
    std::array<std::uint8_t, 256> buffer{};
    if (QueryDeviceText(Protocol::CMD_GET_TEXT, buffer, 0, 0) != ReportProtocol::TextQuery::Done) {
        return std::nullopt;
    }
    const auto* text = reinterpret_cast<const char*>(buffer.data());
    return QString::fromLatin1(text, static_cast<qsizetype>(strnlen(text, buffer.size())));
}

LoadResult CPlayerApp::LoadFile(const QString& path, int track, int partitionMode,
                                const DeviceConfig& controls, const PartRequest& request)
{
    const std::optional<TrackSlot> slot = TrackSlot::forTrack(partitionMode, track);
    if (IsBusy() || !slot || track < 0 || track >= TrackSlot::countFor(partitionMode)) {
        return IsBusy() ? LoadResult::Busy : LoadResult::Refused;
    }
    BusyScope busy(*this);
    const std::vector<int> erased = TracksErasedBy(partitionMode, slot);
    const QString title = QFileInfo(path).completeBaseName();
    QString& name = m_strTrackName[static_cast<std::size_t>(track)];
    const QString previous = name;
    // Asked last, right before the download, naming the tracks as the player holds them: a file that
    // cannot be loaded costs no track. From the answer on, the slot is the new track's.
    const auto mayErase = [&] {
        if (!erased.empty() && !ConfirmRepartition(partitionMode, erased, true)) {
            return false;
        }
        name = title;
        return true;
    };
    const LoadResult result = m_loader.LoadTrack(path, title, *slot, controls, request, mayErase);
    if (nothingSent(result)) {
        // The track the player holds is the one it held, and so is its name.
        name = previous;
    } else if (result == LoadResult::Done) {
        // The names of tracks that are no longer there would only mislead.
        for (int other : erased) {
            if (other != track) {
                m_strTrackName[static_cast<std::size_t>(other)] = DefaultTrackName(other);
            }
        }
    }
    return result;
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

CPlayerApp::ConfigChange CPlayerApp::ChangeConfig(const DeviceConfig& config)
{
    if (IsBusy()) {
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
            m_strTrackName[static_cast<std::size_t>(track)] = DefaultTrackName(track);
        }
    }
    return ConfigChange::Sent;
}

void CPlayerApp::OnDevicesChanged(const std::vector<std::string>& removedPaths)
{
    HidBackend* backend = m_link.backend();
    if (!backend || IsBusy()) {
        return;
    }
    std::vector<std::string> players;
    for (const HidDeviceInfo& info : backend->enumerate()) {
        if (info.vendorId == Protocol::kVendorId && info.productId == Protocol::kProductId) {
            players.push_back(info.path);
        }
    }
    const std::string& open = m_link.openPath();
    // A player replugged quickly may be back under its old path, but the handles held are dead.
    const bool went = std::find(removedPaths.begin(), removedPaths.end(), open) != removedPaths.end() ||
                      std::find(players.begin(), players.end(), open) == players.end();
    if (m_nDeviceState > 0 && went) {
        const std::string gone = m_link.openPath();
        CloseDevice();
        m_nDeviceState = -1;
        m_bPlaying = 0;
        m_link.postToDiagnostics({.message = WM_DIAG_WRITE, .lParam = 1, .text = "Device removed: " + gone});
        if (m_pUi) {
            m_pUi->deviceChanged(false);
        }
    }
    if (m_nDeviceState <= 0 && !players.empty()) {
        OpenArrivedDevice(kArrivalAttempts);
    }
}

void CPlayerApp::OpenArrivedDevice(int attemptsLeft)
{
    if (m_nDeviceState > 0 || IsBusy()) {
        return;
    }
    const std::uint32_t failure = m_link.open();
    if (failure == 0) {
        m_nDeviceState = 1;
        m_bPlaying = 0;
        m_link.postToDiagnostics(
            {.message = WM_DIAG_WRITE, .lParam = 1, .text = "Device arrived: " + m_link.openPath()});
        if (m_pUi) {
            m_pUi->deviceChanged(true);
        }
        return;
    }
    // udev may still be giving the new node to the user: worth a few more tries, holding nothing up.
    if (OpenFailureAdvice::isPermission(failure) && attemptsLeft > 1 && m_pWatcher) {
        QTimer::singleShot(kArrivalRetry, m_pWatcher.get(),
                           [this, attemptsLeft] { OpenArrivedDevice(attemptsLeft - 1); });
    }
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
