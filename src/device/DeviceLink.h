#pragma once

#include "device/HidBackend.h"
#include "device/HidDescriptorParser.h"
#include "device/Protocol.h"
#include "device/UiMessageQueue.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <stop_token>
#include <string>
#include <thread>

// The link to the player: finds it among the HID interfaces, opens one handle for writing (used by the
// user-interface thread) and one for reading (used by the reader thread), and runs the reader, which hands
// every input report to the user-interface thread through the message queue. It keeps the last input report,
// whose first byte is the acknowledgement flag of a block write.
//
// The player's own reports go to the queue while a query waits for a reply, whether or not a window
// listens, and while the main window listens (has a handler registered with the queue), which also gets the
// playing state; the diagnostics window, while it listens, gets every report.
class DeviceLink
{
public:
    using Clock = std::chrono::steady_clock;
    // Reports are built and read in buffers of the largest report length the link accepts.
    using Report = std::array<std::uint8_t, Protocol::kMaxReportLength>;

    // The reader's reads end after this long without a report, so that it sees a stop request in time.
    static constexpr int kReadTimeoutMs = 50;
    // Pause between passes of a reader whose reads fail, so that it neither spins nor floods the log.
    static constexpr std::chrono::milliseconds kFailedReadBackoff{250};
    // Codes of open(): no player among the interfaces, one whose reports the link cannot carry, and a
    // path that names no player.
    static constexpr std::uint32_t kErrorNoMoreItems = 0x103;
    static constexpr std::uint32_t kErrorNotSupported = 50;
    static constexpr std::uint32_t kErrorNotAPlayer = 1200;

    // playing receives the playing flag of every status report the reader sees.
    DeviceLink(UiMessageQueue& messages, std::atomic<int>& playing);
    virtual ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    void setBackend(std::unique_ptr<HidBackend> backend);
    // The same with a backend another link owns and that outlives this one.
    void borrowBackend(HidBackend* backend);
    HidBackend* backend() const { return m_backend; }

    // Closes whatever is open, then opens the player at path (see HidBackend::player), or without one the
    // first player among the interfaces that opens, and starts the reader. 0 when it did; otherwise the code
    // of the reason: kErrorNoMoreItems when there is no player, kErrorNotAPlayer when path names none.
    std::uint32_t open(const std::string& path = {});
    // Stops and joins the reader, then closes both handles.
    void close();

    // The reader's entry and its loop; the loop ends when a stop is requested.
    static int ReaderThreadProc(DeviceLink* link, const std::stop_token& stop);
    int ReadReports(const std::stop_token& stop);

    // Writes one output report of the output report length. A failure closes the write handle for good and
    // gives the system's reason in error. Returns the bytes written, or -1.
    int write(std::span<const std::uint8_t> report, std::string& error);
    bool canWrite() const { return m_hWriteDevice != nullptr; }
    bool readerRunning() const { return m_hReaderThread.joinable(); }

    // The acknowledgement of a block write: cleared before its commit is written; any input report that
    // arrives afterwards sets it. The wait first watches for a short while, so that a player that answers at
    // once is not slowed down by the wake-up of a sleeping thread.
    void clearAcknowledgement();
    bool waitForAcknowledgement(Clock::time_point deadline);

    // Held by a query from before it sends its command until it has its reply: meanwhile the reader posts
    // the player's reports for it to take, also when no window listens.
    class ReplyWait
    {
    public:
        explicit ReplyWait(DeviceLink& link) : m_link(link) { m_link.m_replyWaits.fetch_add(1); }
        ~ReplyWait() { m_link.m_replyWaits.fetch_sub(1); }
        ReplyWait(const ReplyWait&) = delete;
        ReplyWait& operator=(const ReplyWait&) = delete;

    private:
        DeviceLink& m_link;
    };

    // Posts to the diagnostics window, and builds nothing, unless it is listening.
    bool diagnosticsListening() const;
    void postToDiagnostics(UiMessage message);

    UiMessageQueue& messages() { return m_messages; }
    const HidReportLengths& caps() const { return m_Caps; }
    // The path of the player examined last.
    const std::string& devicePath() const { return m_szDevicePath; }
    // The path of the player the link has open; empty when none is.
    const std::string& openPath() const { return m_openPath; }

protected:
    // Starts the reader; may throw std::system_error like any thread start.
    virtual std::jthread startReader();

private:
    static constexpr std::chrono::microseconds kAckWatch{20};

    bool lengthsUsable(const HidReportLengths& caps) const;
    std::uint32_t openPlayer(const HidDeviceInfo& info);
    void storeInputReport(std::span<const std::uint8_t> bytes, Report& snapshot);

    UiMessageQueue& m_messages;
    std::atomic<int>& m_bPlaying;
    std::unique_ptr<HidBackend> m_pBackend;
    // m_pBackend, or the one borrowed.
    HidBackend* m_backend = nullptr;

    std::unique_ptr<HidDevice> m_hWriteDevice;
    std::unique_ptr<HidDevice> m_hReadDevice;
    HidReportLengths m_Caps;
    std::string m_szDevicePath;
    std::string m_openPath;

    // m_InputReport: byte 0 is the report ID, which doubles as the acknowledgement flag of a block write.
    // m_ackFlag mirrors that byte so that a block write can watch it without the lock.
    std::mutex m_inputMutex;
    std::condition_variable m_inputArrived;
    Report m_InputReport{};
    std::atomic<std::uint8_t> m_ackFlag{0};
    // How many queries wait for a reply: read by the reader for every report, without a lock.
    std::atomic<int> m_replyWaits{0};
    // Wakes a reader that backs off after a failed read as soon as a stop is requested.
    std::condition_variable_any m_stopWake;

    // Last, so that it is joined before anything it uses goes away.
    std::jthread m_hReaderThread;
};
