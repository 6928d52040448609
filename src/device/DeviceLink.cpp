#include "device/DeviceLink.h"

#include <algorithm>
#include <system_error>

DeviceLink::DeviceLink(UiMessageQueue& messages, std::atomic<int>& playing)
    : m_messages(messages), m_bPlaying(playing)
{}

DeviceLink::~DeviceLink()
{
    // Whatever path ended the run, the reader must be joined before the handles and the queue go away.
    close();
}

void DeviceLink::setBackend(std::unique_ptr<HidBackend> backend)
{
    close();
    m_pBackend = std::move(backend);
    m_backend = m_pBackend.get();
}

void DeviceLink::borrowBackend(HidBackend* backend)
{
    close();
    m_pBackend.reset();
    m_backend = backend;
}

bool DeviceLink::lengthsUsable(const HidReportLengths& caps) const
{
    // Every read and write goes through buffers of kMaxReportLength bytes. Shorter reports than the
    // protocol's would cut what they carry without a word: half a block with its command and report ID on
    // the way out, the configuration reply and the playing flag of a status report on the way in.
    return caps.input >= Protocol::kMinInputReportLength && caps.input <= Protocol::kMaxReportLength &&
           caps.output >= Protocol::kMinOutputReportLength && caps.output <= Protocol::kMaxReportLength;
}

std::uint32_t DeviceLink::open(const std::string& path)
{
    close();
    if (!m_backend) {
        return path.empty() ? kErrorNoMoreItems : kErrorNotAPlayer;
    }
    // The ids come from the enumeration, so no interface is opened unless it is the player's: a path given
    // by the user is opened only once the enumeration has it as a player.
    if (!path.empty()) {
        const std::optional<HidDeviceInfo> named = m_backend->player(path);
        return named ? openPlayer(*named) : kErrorNotAPlayer;
    }
    std::uint32_t failure = kErrorNoMoreItems;
    for (const HidDeviceInfo& info : m_backend->players()) {
        failure = openPlayer(info);
        if (failure == 0) {
            break;
        }
    }
    return failure;
}

std::uint32_t DeviceLink::openPlayer(const HidDeviceInfo& info)
{
    m_szDevicePath = info.path.substr(0, 127);
    std::unique_ptr<HidDevice> writer = m_backend->open(info.path);
    if (!writer) {
        return m_backend->lastError();
    }
    const std::optional<HidReportLengths> caps =
        HidDescriptorParser::reportLengths(writer->reportDescriptor());
    if (!caps || !lengthsUsable(*caps)) {
        return kErrorNotSupported;
    }
    std::unique_ptr<HidDevice> reader = m_backend->open(info.path);
    if (!reader) {
        // Without the second handle no report could ever arrive: a link that only looks open.
        return m_backend->lastError();
    }
    m_Caps = *caps;
    m_openPath = info.path;
    m_hWriteDevice = std::move(writer);
    m_hReadDevice = std::move(reader);
    try {
        m_hReaderThread = startReader();
    } catch (const std::system_error&) {
        // The link stays open without a reader: writes go out, but no answer ever comes in.
    }
    return 0;
}

std::jthread DeviceLink::startReader()
{
    return std::jthread([this](const std::stop_token& stop) { ReaderThreadProc(this, stop); });
}

void DeviceLink::close()
{
    if (m_hReaderThread.joinable()) {
        m_hReaderThread.request_stop();
        // The reader ends by itself: its reads time out after kReadTimeoutMs, and a reader backing off
        // after failed reads is woken by the stop request.
        m_hReaderThread.join();
    }
    m_hReaderThread = std::jthread();
    m_hReadDevice.reset();
    m_hWriteDevice.reset();
    m_openPath.clear();
}

int DeviceLink::ReaderThreadProc(DeviceLink* link, const std::stop_token& stop)
{
    if (!link) {
        return -1;
    }
    return link->ReadReports(stop);
}

void DeviceLink::storeInputReport(std::span<const std::uint8_t> bytes, Report& snapshot)
{
    {
        std::lock_guard lock(m_inputMutex);
        std::copy(bytes.begin(), bytes.end(), m_InputReport.begin());
        m_ackFlag.store(m_InputReport[0], std::memory_order_release);
        snapshot = m_InputReport;
    }
    m_inputArrived.notify_all();
}

bool DeviceLink::diagnosticsListening() const
{
    return m_messages.hasHandler(UiTarget::DiagnosticsDialog);
}

void DeviceLink::postToDiagnostics(UiMessage message)
{
    if (!diagnosticsListening()) {
        return;
    }
    message.target = UiTarget::DiagnosticsDialog;
    m_messages.post(std::move(message));
}

int DeviceLink::ReadReports(const std::stop_token& stop)
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
            // Said once: a device that is gone fails every later pass the same way.
            if (!failing) {
                failing = true;
                postToDiagnostics({.message = WM_DIAG_WRITE, .lParam = 1, .text = "Can't read from device"});
                if (m_hReadDevice) {
                    if (std::string reason = m_hReadDevice->errorText(); !reason.empty()) {
                        postToDiagnostics({.message = WM_DIAG_WRITE, .lParam = 1, .text = std::move(reason)});
                    }
                }
            }
            m_hReadDevice.reset();
            std::unique_lock lock(m_inputMutex);
            m_stopWake.wait_for(lock, stop, kFailedReadBackoff, [] { return false; });
            continue;
        }

        const auto read = std::min<std::size_t>(static_cast<std::size_t>(count), length);
        Report report;
        storeInputReport(std::span(buffer.data(), read), report);

        postToDiagnostics({.message = WM_DIAG_READ,
                           .lParam = static_cast<std::intptr_t>(static_cast<std::uint16_t>(count)),
                           .bytes = std::vector<std::uint8_t>(report.begin(), report.begin() + length)});

        if (report[0] != Protocol::kInputReportId) {
            continue;
        }
        const std::uint8_t type = report[1];
        const bool mainWindow = m_messages.hasHandler(UiTarget::MainWindow);
        // A reply is for whoever waits for it: a query of the window or of the command-line tool. Nothing is
        // built for the acknowledgements of a download that nobody reads.
        if (mainWindow || m_replyWaits.load(std::memory_order_acquire) > 0) {
            std::vector<std::uint8_t> record(kReportRecordSize, 0);
            std::copy(report.begin() + 2, report.end(), record.begin());
            if (mainWindow) {
                m_messages.post({.message = WM_DEVICE_BUSY, .wParam = 0});
            }
            m_messages.post({.message = WM_DEVICE_REPORT, .wParam = type, .bytes = std::move(record)});
            if (mainWindow) {
                m_messages.post({.message = WM_DEVICE_BUSY, .wParam = 1});
            }
        }
        if (type == Protocol::REPORT_STATUS) {
            const std::uint8_t playing = report[Protocol::kPlayingFlagByte];
            m_bPlaying = playing;
            if (mainWindow) {
                m_messages.post({.message = WM_PLAY_STATE, .wParam = playing});
            }
        }
    } while (!stop.stop_requested());
    return 0;
}

int DeviceLink::write(std::span<const std::uint8_t> report, std::string& error)
{
    if (!m_hWriteDevice) {
        return -1;
    }
    const int result = m_hWriteDevice->write(report);
    if (result < 0) {
        error = m_hWriteDevice->errorText();
        m_hWriteDevice.reset();
    }
    return result;
}

void DeviceLink::clearAcknowledgement()
{
    std::lock_guard lock(m_inputMutex);
    m_InputReport[0] = 0;
    m_ackFlag.store(0, std::memory_order_relaxed);
}

bool DeviceLink::waitForAcknowledgement(Clock::time_point deadline)
{
    const Clock::time_point watched = std::min(Clock::now() + kAckWatch, deadline);
    do {
        if (m_ackFlag.load(std::memory_order_acquire) != 0) {
            return true;
        }
    } while (Clock::now() < watched);
    std::unique_lock lock(m_inputMutex);
    return m_inputArrived.wait_until(lock, deadline, [this] { return m_InputReport[0] != 0; });
}
