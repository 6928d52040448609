#include "app/CPlayerApp.h"

#include "app/AppUi.h"
#include "app/CRegSettings.h"
#include "device/UiMessagePump.h"
#include "download/Durations.h"
#include "download/TrackSlot.h"
#include "res/StringTable.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

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
