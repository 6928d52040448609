// The device link of the application object: discovery and opening of the player, the reader thread that
// turns input reports into messages for the user-interface thread, and closing.

#include "app/AppUi.h"
#include "app/CPlayerApp.h"

#include <algorithm>
#include <cstring>

void CPlayerApp::ReportOpenFailure(std::uint32_t errorCode)
{
    if (!m_pUi) {
        return;
    }
    if (errorCode == kErrorNotSupported) {
        m_pUi->messageBox(QStringLiteral("Unable to open VxD, device does not support DeviceIOCTL"),
                          MessageIcon::Warning);
    } else {
        m_pUi->messageBox(QStringLiteral("Unable to open VxD, Error code: %1").arg(errorCode, 0, 16),
                          MessageIcon::Warning);
    }
}

bool CPlayerApp::DeviceLengthsUsable(const HidReportLengths& caps) const
{
    // Every read and write goes through buffers of kMaxReportLength bytes, and a reply must carry at least
    // one payload byte after the report ID and the type.
    return caps.input >= 3 && caps.input <= Protocol::kMaxReportLength && caps.output >= 2 &&
           caps.output <= Protocol::kMaxReportLength;
}

int CPlayerApp::OpenDevice()
{
    if (m_hReaderThread.joinable()) {
        CloseDevice();
    }
    m_hWriteDevice.reset();

    std::uint32_t failure = kErrorNoMoreItems;
    if (m_pBackend) {
        // The ids come from the enumeration, so no interface is opened unless it is the player's.
        for (const HidDeviceInfo& info : m_pBackend->enumerate()) {
            m_szDevicePath = info.path.substr(0, 127);
            if (info.vendorId != Protocol::kVendorId || info.productId != Protocol::kProductId) {
                continue;
            }
            m_Attributes = info;
            std::unique_ptr<HidDevice> writer = m_pBackend->open(info.path);
            if (!writer) {
                failure = m_pBackend->lastError();
                continue;
            }
            const std::optional<HidReportLengths> caps =
                HidDescriptorParser::reportLengths(writer->reportDescriptor());
            if (!caps || !DeviceLengthsUsable(*caps)) {
                failure = kErrorNotSupported;
                continue;
            }
            std::unique_ptr<HidDevice> reader = m_pBackend->open(info.path);
            if (!reader) {
                // Without the second handle no report could ever arrive: a link that only looks open.
                failure = m_pBackend->lastError();
                continue;
            }
            m_Caps = *caps;
            m_hWriteDevice = std::move(writer);
            m_hReadDevice = std::move(reader);
            m_bStopReader = 0;
            m_hReaderThread = std::thread(&CPlayerApp::ReaderThreadProc, this);
            m_dwReaderThreadId = m_hReaderThread.get_id();
            break;
        }
    }

    if (!m_hWriteDevice) {
        ReportOpenFailure(failure);
        m_nDeviceState = -1;
        return -1;
    }
    m_nDeviceState = 1;
    return 0;
}

int CPlayerApp::ReaderThreadProc(CPlayerApp* app)
{
    if (!app) {
        return -1;
    }
    return app->ReadReports();
}

void CPlayerApp::StoreInputReport(std::span<const std::uint8_t> bytes, Report& snapshot)
{
    {
        std::lock_guard lock(m_inputMutex);
        std::copy(bytes.begin(), bytes.end(), m_InputReport.begin());
        m_ackFlag.store(m_InputReport[0], std::memory_order_release);
        snapshot = m_InputReport;
    }
    m_inputArrived.notify_all();
}

void CPlayerApp::PostToDiagnostics(UiMessage message)
{
    if (m_pDiagDlg.load() == nullptr) {
        return;
    }
    message.target = UiTarget::DiagnosticsDialog;
    m_messages.post(std::move(message));
}

bool CPlayerApp::WaitForStop(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_stopMutex);
    return m_stopRequested.wait_for(lock, timeout, [this] { return m_bStopReader.load() != 0; });
}

int CPlayerApp::ReadReports()
{
    const std::size_t length = m_Caps.input;
    bool failing = false;
    do {
        Report buffer{};
        const int count =
            m_hReadDevice ? m_hReadDevice->read(std::span(buffer.data(), length), kReadTimeoutMs) : -1;
        if (count == 0) {
            continue;
        }
        if (count < 0) {
            m_hReadDevice.reset();
            // Said once: a device that is gone fails every later pass the same way.
            if (!failing) {
                failing = true;
                PostToDiagnostics({.message = WM_DIAG_WRITE, .lParam = 1, .text = "Can't read from device"});
            }
            WaitForStop(kFailedReadBackoff);
            continue;
        }

        const auto read = std::min<std::size_t>(static_cast<std::size_t>(count), length);
        Report report;
        StoreInputReport(std::span(buffer.data(), read), report);

        PostToDiagnostics({.message = WM_DIAG_READ,
                           .lParam = static_cast<std::intptr_t>(static_cast<std::uint16_t>(count)),
                           .bytes = std::vector<std::uint8_t>(report.begin(), report.begin() + length)});

        if (report[0] != Protocol::kInputReportId) {
            continue;
        }
        const std::uint8_t type = report[1];
        const bool mainWindow = m_pMainWnd.load() != nullptr;
        if (mainWindow) {
            std::vector<std::uint8_t> record(kReportRecordSize, 0);
            std::copy(report.begin() + 2, report.end(), record.begin());
            m_messages.post({.message = WM_DEVICE_BUSY, .wParam = 0});
            m_messages.post({.message = WM_DEVICE_REPORT, .wParam = type, .bytes = std::move(record)});
            m_messages.post({.message = WM_DEVICE_BUSY, .wParam = 1});
        }
        if (type == Protocol::REPORT_STATUS) {
            const std::uint8_t playing = report[Protocol::kPlayingFlagByte];
            m_bPlaying = playing;
            if (mainWindow) {
                m_messages.post({.message = WM_PLAY_STATE, .wParam = playing});
            }
        }
    } while (m_bStopReader.load() == 0);
    return 0;
}

int CPlayerApp::CloseDevice()
{
    {
        std::lock_guard lock(m_stopMutex);
        m_bStopReader = 1;
    }
    m_stopRequested.notify_all();
    // The reader ends by itself: its reads time out after kReadTimeoutMs and it checks the flag after each.
    if (m_hReaderThread.joinable()) {
        m_hReaderThread.join();
    }
    m_hReadDevice.reset();
    m_hWriteDevice.reset();
    return 1;
}
