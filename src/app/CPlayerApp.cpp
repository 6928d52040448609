#include "app/CPlayerApp.h"

#include "app/AppUi.h"
#include "app/CRegSettings.h"
#include "device/UiMessagePump.h"
#include "res/StringTable.h"

#include <QCoreApplication>

CPlayerApp::CPlayerApp() = default;

CPlayerApp::~CPlayerApp()
{
    // Whatever path ended the run, the reader must be joined before the handles and the queue go away.
    CloseDevice();
}

void CPlayerApp::SetBackend(std::unique_ptr<HidBackend> backend)
{
    m_pBackend = std::move(backend);
}

bool CPlayerApp::InitInstance()
{
    SetRegistryKey(QStringLiteral("Quenmark Audio"));
    m_pSettings = std::make_unique<CRegSettings>(m_strRegistryKey, QCoreApplication::applicationName());
    for (int n = 1; n <= 4; ++n) {
        QString name;
        m_pSettings->ReadStringById(m_pSettings->m_pszSection, IDS_BRANO1 + n - 1, name, 255, QString());
        m_strTrackName[static_cast<std::size_t>(n - 1)] = name;
    }
    for (int i = 0; i < kTrackCount; ++i) {
        if (m_strTrackName[i].isEmpty()) {
            m_strTrackName[i] = QStringLiteral("Brano %1").arg(i + 1);
        }
    }

    m_Config = {0, 0, 45};
    m_nDefaultTrack = 0;
    m_nDeviceState = 0;
    m_bPlaying = 0;
    m_hWriteDevice.reset();

    // Lets the event loop of the modal windows deliver what the reader posts.
    UiMessagePump pump(m_messages);

    OpenDevice();
    if (m_pUi) {
        m_pUi->runMainWindow(*this);
    }
    CloseDevice();

    const char* section = m_pSettings->m_pszSection;
    m_pSettings->WriteNumber(section, StringTable::load(IDS_CONFIG1), m_Config.Config1);
    m_pSettings->WriteNumber(section, StringTable::load(IDS_CONFIG2), m_Config.Config2);
    m_pSettings->WriteNumber(section, StringTable::load(IDS_CONFIG3), m_Config.Config3);
    for (int n = 1; n <= 4; ++n) {
        m_pSettings->WriteString(section, StringTable::load(IDS_BRANO1 + n - 1),
                                 m_strTrackName[static_cast<std::size_t>(n - 1)]);
    }
    m_pSettings.reset();
    return false;
}
