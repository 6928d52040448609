#include "app/CPlayerApp.h"

#include "app/AppUi.h"
#include "app/CRegSettings.h"
#include "app/OpenFailureAdvice.h"
#include "device/UiMessagePump.h"
#include "download/Durations.h"
#include "download/TrackSlot.h"
#include "res/StringTable.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// A node that appears before udev has given it to the user is tried this often, this far apart.
constexpr int kArrivalAttempts = 10;
constexpr std::chrono::milliseconds kArrivalRetry{100};

// Lengths are kept to the tenth of a second, rounded down: rounded again to the second, they give what
// the sample count itself rounds to. Anything with sound is at least a tenth.
std::uint32_t tenthsOf(std::uint32_t samples)
{
    constexpr std::uint32_t kPerTenth = TrackSlot::kSampleRate / 10;
    return samples == 0 ? 0 : std::max<std::uint32_t>(samples / kPerTenth, 1);
}

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
    m_setLoader.setUi(ui);
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
        // A default name is shown in the language of this run, whichever language wrote it.
        m_strTrackName[static_cast<std::size_t>(track)] = name == StoredDefaultName(track) ? QString() : name;
        std::uint32_t tenths = 0;
        m_pSettings->ReadNumber(m_pSettings->m_pszSection, LengthValueName(track), tenths, 0);
        // No slot holds more than the whole memory: a larger figure was not written by a load.
        const std::uint32_t longest = tenthsOf(TrackSlot::forTrack(0, 0)->capacity());
        m_nTrackTenths[static_cast<std::size_t>(track)] = tenths <= longest ? tenths : 0;
    }
    for (std::size_t i = 0; i < m_strTrackName.size(); ++i) {
        if (m_strTrackName[i].isEmpty()) {
            ForgetTrack(static_cast<int>(i));
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
        const QString& name = m_strTrackName[static_cast<std::size_t>(track)];
        m_pSettings->WriteString(section, TrackValueName(track),
                                 name == DefaultTrackName(track) ? StoredDefaultName(track) : name);
        // Written also when unknown: a length left from before would be taken for the new track's.
        m_pSettings->WriteNumber(section, LengthValueName(track),
                                 m_nTrackTenths[static_cast<std::size_t>(track)]);
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

QString CPlayerApp::LengthValueName(int track)
{
    return QStringLiteral("Durata%1").arg(track + 1);
}

namespace {
const char* const kDefaultTrackName = QT_TRANSLATE_NOOP("CPlayerApp", "Brano %1");
} // namespace

QString CPlayerApp::DefaultTrackName(int track)
{
    return tr(kDefaultTrackName).arg(track + 1);
}

QString CPlayerApp::StoredDefaultName(int track)
{
    return QString::fromUtf8(kDefaultTrackName).arg(track + 1);
}

void CPlayerApp::NoteTrackLoaded(int track, const QString& title, std::uint32_t samples)
{
    if (track < 0 || track >= kTrackCount) {
        return;
    }
    m_strTrackName[static_cast<std::size_t>(track)] = title;
    m_nTrackTenths[static_cast<std::size_t>(track)] = tenthsOf(samples);
}

void CPlayerApp::ForgetTrack(int track)
{
    if (track < 0 || track >= kTrackCount) {
        return;
    }
    m_strTrackName[static_cast<std::size_t>(track)] = DefaultTrackName(track);
    m_nTrackTenths[static_cast<std::size_t>(track)] = 0;
}

QString CPlayerApp::TrackLabel(int track) const
{
    if (track < 0 || track >= kTrackCount) {
        return {};
    }
    const QString& name = m_strTrackName[static_cast<std::size_t>(track)];
    const std::uint32_t tenths = m_nTrackTenths[static_cast<std::size_t>(track)];
    if (tenths == 0) {
        return name;
    }
    const qint64 seconds = std::max<qint64>((tenths + 5) / 10, 1);
    return tr("%1 (%2)", "a track's name and its length").arg(name, Durations::clock(seconds));
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

std::optional<QString> CPlayerApp::DeviceText()
{
    std::array<std::uint8_t, 256> buffer{};
    if (QueryDeviceText(Protocol::CMD_GET_TEXT, buffer, 0, 0) != ReportProtocol::TextQuery::Done) {
        return std::nullopt;
    }
    const auto* text = reinterpret_cast<const char*>(buffer.data());
    return QString::fromLatin1(text, static_cast<qsizetype>(strnlen(text, buffer.size())));
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
