#pragma once

#include "device/DeviceConfig.h"
#include "device/HidBackend.h"
#include "device/HidDescriptorParser.h"
#include "device/Protocol.h"
#include "device/UiMessageQueue.h"

#include <QString>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>

class AppUi;
class CDiagnosticsDlg;
class CRegSettings;
class CPlayerDlg;

// The application object: the state that the device link, the protocol, the download and the windows
// share, and the program's whole run (InitInstance).
//
// Two threads use it. The user-interface thread does everything but reading; the reader thread reads input
// reports and posts them to the user-interface thread's message queue. The fields they share are atomics,
// or (the input report buffer) guarded by a lock, so that the reader can wake a waiting acknowledgement.
class CPlayerApp
{
public:
    using Clock = std::chrono::steady_clock;

    static constexpr std::chrono::milliseconds kReplyTimeout{100};
    static constexpr std::chrono::milliseconds kAckTimeout{500};
    // A block write first watches for its acknowledgement this long before it sleeps: a player that answers
    // at once is then not slowed down by the wake-up of a sleeping thread.
    static constexpr std::chrono::microseconds kAckWatch{20};
    // The reader's reads end after this long without a report, so that it sees the stop flag in time.
    static constexpr int kReadTimeoutMs = 50;
    // Pause between passes of a reader whose reads fail, so that it neither spins nor floods the log.
    static constexpr std::chrono::milliseconds kFailedReadBackoff{250};
    // Code shown when no player is among the HID interfaces (no more interfaces to examine).
    static constexpr std::uint32_t kErrorNoMoreItems = 0x103;
    static constexpr std::uint32_t kErrorNotSupported = 50;
    static constexpr int kTrackCount = 16;

    CPlayerApp();
    ~CPlayerApp();
    CPlayerApp(const CPlayerApp&) = delete;
    CPlayerApp& operator=(const CPlayerApp&) = delete;

    // Set before InitInstance: where the HID interfaces come from, and the user interface.
    void SetBackend(std::unique_ptr<HidBackend> backend);
    HidBackend* Backend() const { return m_pBackend.get(); }
    void SetUi(AppUi* ui) { m_pUi = ui; }
    AppUi* Ui() const { return m_pUi; }
    UiMessageQueue& Messages() { return m_messages; }

    // The program's whole run; always false (there is no message loop of its own to enter).
    bool InitInstance();

    // Device link.
    int OpenDevice();
    int CloseDevice();
    static int ReaderThreadProc(CPlayerApp* app);
    int ReadReports();

    // Report protocol. Reports are built in buffers of the largest report length the link accepts.
    using Report = std::array<std::uint8_t, Protocol::kMaxReportLength>;
    int WriteReport(const Report& report);
    int SendCommand(int command, int a, int b, int c, int d);
    int QueryDevice(int command, int a, int b, std::span<std::uint8_t> dest);
    int QueryDeviceText(int command, std::span<std::uint8_t> dest, int a, int b);
    int WriteMemoryBlock(std::uint32_t address, std::span<const std::uint8_t, Protocol::kBlockSize> block);

    // The start-up reading of the configuration: query it, take a valid answer, repair an invalid one.
    void ReadDeviceConfig(std::span<std::uint8_t> buffer);

    // Track download: writes the samples of a WAV file into the track slot at start.
    static constexpr int kDownloadDone = 0;
    static constexpr int kDownloadRefused = -1;
    static constexpr int kDownloadDeviceFailed = -3;
    static constexpr int kDownloadFileFailed = -4;
    static constexpr int kDownloadBusy = -5;
    int DownloadTrack(const QString& path, const QString& title, std::uint32_t start, std::uint32_t length);
    bool IsDownloading() const { return m_bDownloading; }

    // The payload bytes of an input report (all but the report ID and the type).
    std::size_t InputPayloadLength() const;

    // The company key under which the settings are kept.
    void SetRegistryKey(const QString& key) { m_strRegistryKey = key; }

    // Shared state.
    std::atomic<int> m_bPlaying{0};
    std::unique_ptr<CRegSettings> m_pSettings;
    CPlayerDlg* m_pMainDlg = nullptr;
    std::atomic<int> m_nDeviceState{0};
    std::atomic<int> m_bStopReader{0};
    std::thread::id m_dwReaderThreadId;
    std::unique_ptr<HidDevice> m_hWriteDevice;
    std::unique_ptr<HidDevice> m_hReadDevice;
    std::thread m_hReaderThread;
    HidDeviceInfo m_Attributes;
    HidReportLengths m_Caps;
    std::string m_szDevicePath;
    DeviceConfig m_Config{0, 0, 45};
    std::uint32_t m_wConfigWord = 0;
    int m_nDefaultTrack = 0;
    std::array<QString, kTrackCount> m_strTrackName;
    // Published for the reader, which only tests them for null before posting: whether a message is
    // delivered is decided on the user-interface thread, by the window's registration with the queue.
    std::atomic<CDiagnosticsDlg*> m_pDiagDlg{nullptr};
    std::atomic<CPlayerDlg*> m_pMainWnd{nullptr};

private:
    void ReportOpenFailure(std::uint32_t errorCode);
    bool DeviceLengthsUsable(const HidReportLengths& caps) const;
    // Builds nothing unless the diagnostics window is open: the argument is made only then.
    void PostToDiagnostics(UiMessage message);
    void StoreInputReport(std::span<const std::uint8_t> bytes, Report& snapshot);
    bool WaitForStop(std::chrono::milliseconds timeout);
    std::optional<UiMessage> TakeReply(std::uint8_t awaitedType, Clock::time_point deadline);
    void PumpBetweenBlocks();

    std::unique_ptr<HidBackend> m_pBackend;
    AppUi* m_pUi = nullptr;
    QString m_strRegistryKey;
    UiMessageQueue m_messages;

    // m_InputReport: byte 0 is the report ID, which doubles as the acknowledgement flag of a block write.
    // m_ackFlag mirrors that byte so that a block write can look at it without the lock.
    mutable std::mutex m_inputMutex;
    std::condition_variable m_inputArrived;
    Report m_InputReport{};
    std::atomic<std::uint8_t> m_ackFlag{0};

    bool m_bDownloading = false;
    Clock::time_point m_lastEventPump;

    std::mutex m_stopMutex;
    std::condition_variable m_stopRequested;
};
