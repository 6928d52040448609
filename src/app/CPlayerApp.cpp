#include "app/CPlayerApp.h"

#include "app/AppUi.h"
#include "app/CRegSettings.h"
#include "device/UiMessagePump.h"
#include "res/StringTable.h"

#include <QCoreApplication>

#include <cstdio>

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
    SetRegistryKey(QStringLiteral("Quenmark Audio"));
    m_pSettings = std::make_unique<CRegSettings>(m_strRegistryKey, QCoreApplication::applicationName());
    for (int n = 1; n <= 4; ++n) {
        QString name;
        m_pSettings->ReadStringById(m_pSettings->m_pszSection, IDS_BRANO1 + n - 1, name, 255, QString());
        m_strTrackName[static_cast<std::size_t>(n - 1)] = name;
    }
    for (std::size_t i = 0; i < m_strTrackName.size(); ++i) {
        if (m_strTrackName[i].isEmpty()) {
            m_strTrackName[i] = QStringLiteral("Brano %1").arg(i + 1);
        }
    }

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

    const char* section = m_pSettings->m_pszSection;
    m_pSettings->BeginSave();
    m_pSettings->WriteNumber(section, StringTable::load(IDS_CONFIG1), m_Config.Config1);
    m_pSettings->WriteNumber(section, StringTable::load(IDS_CONFIG2), m_Config.Config2);
    m_pSettings->WriteNumber(section, StringTable::load(IDS_CONFIG3), m_Config.Config3);
    for (int n = 1; n <= 4; ++n) {
        m_pSettings->WriteString(section, StringTable::load(IDS_BRANO1 + n - 1),
                                 m_strTrackName[static_cast<std::size_t>(n - 1)]);
    }
    // The windows are gone by now: a save that could not be done is said where the program was started.
    if (m_pSettings->EndSave() != 0) {
        std::fprintf(stderr, "%s\n", qPrintable(m_pSettings->LastFailure()));
    }
    m_pSettings.reset();
    return false;
}

void CPlayerApp::ReportOpenFailure(std::uint32_t errorCode)
{
    if (!m_pUi) {
        return;
    }
    if (errorCode == DeviceLink::kErrorNotSupported) {
        m_pUi->messageBox(QStringLiteral("Unable to open VxD, device does not support DeviceIOCTL"),
                          MessageIcon::Warning);
    } else {
        m_pUi->messageBox(QStringLiteral("Unable to open VxD, Error code: %1").arg(errorCode, 0, 16),
                          MessageIcon::Warning);
    }
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

int CPlayerApp::CloseDevice()
{
    m_link.close();
    return 1;
}
