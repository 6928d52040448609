#include "app/CPlayerApp.h"

#include "app/AppUi.h"
#include "device/UiMessagePump.h"

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
    return false;
}
