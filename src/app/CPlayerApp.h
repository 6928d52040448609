#pragma once

#include "device/DeviceConfig.h"
#include "device/DeviceLink.h"
#include "device/DeviceWatcher.h"
#include "device/ReportProtocol.h"
#include "device/UiMessageQueue.h"
#include "download/TrackDownload.h"
#include "download/TrackLoader.h"

#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>

class AppUi;
class CDiagnosticsDlg;
class CPlayerDlg;
class CRegSettings;

// The application object: the program's whole run (InitInstance) and the state that the windows share.
// It composes the device link, the report protocol and the track download, and offers their operations
// under the program's own names.
//
// Two threads use it: the user-interface thread does everything but reading; the link's reader thread reads
// input reports, posts them to the message queue and sets the playing flag, the one field it writes.
class CPlayerApp
{
public:
    using Report = ReportProtocol::Report;

    static constexpr int kTrackCount = 16;

    CPlayerApp();
    ~CPlayerApp();
    CPlayerApp(const CPlayerApp&) = delete;
    CPlayerApp& operator=(const CPlayerApp&) = delete;

    // Set before InitInstance: where the HID interfaces come from, and the user interface.
    void SetBackend(std::unique_ptr<HidBackend> backend) { m_link.setBackend(std::move(backend)); }
    HidBackend* Backend() const { return m_link.backend(); }
    void SetUi(AppUi* ui);
    AppUi* Ui() const { return m_pUi; }
    UiMessageQueue& Messages() { return m_messages; }
    DeviceLink& Link() { return m_link; }

    // The program's whole run; always false (there is no message loop of its own to enter).
    bool InitInstance();

    // Opens the player (telling the user when there is none) and sets m_nDeviceState; 0 or -1.
    int OpenDevice();
    int CloseDevice();

    // Watches for players plugged in or out while the program runs; set before InitInstance (without one,
    // the player is looked for at start only).
    void SetWatcher(std::unique_ptr<DeviceWatcher> watcher);
    DeviceWatcher* Watcher() const { return m_pWatcher.get(); }
    // Looks for the player again: one that went is closed, one that came is opened, and the main window is
    // told either way; no message box. Nothing happens while a download runs: its own failure path holds.
    void OnDevicesChanged(const std::vector<std::string>& removedPaths = {});

    int WriteReport(const Report& report) { return m_protocol.WriteReport(report); }
    int SendCommand(int command, int a, int b, int c, int d)
    {
        return m_protocol.SendCommand(command, a, b, c, d);
    }
    int QueryDevice(int command, int a, int b, std::span<std::uint8_t> dest)
    {
        return m_protocol.QueryDevice(command, a, b, dest);
    }
    int QueryDeviceText(int command, std::span<std::uint8_t> dest, int a, int b)
    {
        return m_protocol.QueryDeviceText(command, dest, a, b);
    }
    int WriteMemoryBlock(std::uint32_t address, std::span<const std::uint8_t, Protocol::kBlockSize> block)
    {
        return m_protocol.WriteMemoryBlock(address, block);
    }
    // The start-up reading of the configuration into m_Config and m_wConfigWord.
    void ReadDeviceConfig(std::span<std::uint8_t> buffer)
    {
        m_protocol.ReadDeviceConfig(buffer, m_Config, m_wConfigWord);
    }

    // Writes a WAV file's samples into the track slot at start; controls is the configuration the main
    // window's controls give (see TrackDownload).
    int DownloadTrack(const QString& path, const QString& title, std::uint32_t start, std::uint32_t length,
                      const DeviceConfig& controls)
    {
        return m_download.DownloadTrack(path, title, start, length, controls);
    }
    bool IsDownloading() const { return m_download.running(); }
    // The Load command's work once a file and a slot are chosen: a file in another format is converted
    // after a question, a track longer than the slot cut after a warning (see TrackLoader).
    int LoadTrack(const QString& path, const QString& title, const TrackSlot& slot,
                  const DeviceConfig& controls);

    // The tracks on the player whose space a download into target with partitionMode would take: none
    // unless it re-partitions, for the player's slots are those of the partition it reported.
    std::vector<int> TracksErasedBy(int partitionMode, const TrackSlot& target) const;
    // Asks before such a download, naming those tracks; true to go on.
    bool ConfirmRepartition(int partitionMode, const std::vector<int>& erased);

    // The company key under which the settings are kept.
    void SetRegistryKey(const QString& key) { m_strRegistryKey = key; }

    // Shared state. Only the playing flag is written by the reader thread.
    std::atomic<int> m_bPlaying{0};
    std::unique_ptr<CRegSettings> m_pSettings;
    CPlayerDlg* m_pMainDlg = nullptr;
    int m_nDeviceState = 0;
    DeviceConfig m_Config{0, 0, 45};
    std::uint32_t m_wConfigWord = 0;
    int m_nDefaultTrack = 0;
    std::array<QString, kTrackCount> m_strTrackName;
    CDiagnosticsDlg* m_pDiagDlg = nullptr;
    CPlayerDlg* m_pMainWnd = nullptr;

private:
    void ReportOpenFailure(std::uint32_t errorCode);
    // Opens a player that was plugged in; a node whose permissions are not set yet is tried again a few
    // times over about a second.
    void OpenArrivedDevice(int attemptsLeft);

    AppUi* m_pUi = nullptr;
    QString m_strRegistryKey;
    std::unique_ptr<DeviceWatcher> m_pWatcher;
    UiMessageQueue m_messages;
    DeviceLink m_link{m_messages, m_bPlaying};
    ReportProtocol m_protocol{m_link};
    TrackDownload m_download{m_protocol, m_Config};
    TrackLoader m_loader{m_download};
};
