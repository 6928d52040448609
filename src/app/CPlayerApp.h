#pragma once

#include "device/DeviceConfig.h"
#include "device/DeviceLink.h"
#include "device/DeviceWatcher.h"
#include "device/ReportProtocol.h"
#include "device/UiMessageQueue.h"
#include "download/SetLoader.h"
#include "download/TrackDownload.h"
#include "download/TrackLoader.h"

#include <QCoreApplication>
#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

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
    Q_DECLARE_TR_FUNCTIONS(CPlayerApp)

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

    // The player the user named (--device): its node's path, or a link to it. Without one the program uses
    // the first player. Set before InitInstance.
    void SetDevicePath(const QString& path) { m_wantedPath = path.toStdString(); }

    // Opens the player named, or else the first (telling the user when there is none, or when the name is
    // not a player's) and sets m_nDeviceState; 0 or -1.
    int OpenDevice();
    void CloseDevice();

    // A player among the interfaces, as both programs list it.
    struct PlayerEntry
    {
        std::string path;
        // Empty when it has none.
        std::string serial;
        // What it says of itself; nothing when it did not answer or could not be opened.
        std::optional<QString> text;
        // Why it could not be opened to be asked (a code of DeviceLink::open); 0 when it was.
        std::uint32_t openFailure = 0;
        // Another program is loading tracks into it: it was not asked, since the answer would reach that
        // program too.
        bool taken = false;
        bool inUse = false;
    };
    // Every player there is, in the order of the enumeration, with its text: the one in use asked through
    // the link, every other opened on its own for the question and closed again.
    std::vector<PlayerEntry> Players();
    // Whether any player is plugged in, in use or not.
    bool AnyPlayer();
    // A player's text as the user reads it, or why there is none.
    static QString PlayerText(const PlayerEntry& entry);
    // The user chose the player at path: the one in use is closed, this one opened and named from now on,
    // and the main window told. False (the user told why, unless the player has just gone) when it cannot
    // be opened; nothing happens while a command runs.
    bool UsePlayer(const std::string& path);

    // Watches for players plugged in or out while the program runs; set before InitInstance (without one,
    // the player is looked for at start only).
    void SetWatcher(std::unique_ptr<DeviceWatcher> watcher);
    DeviceWatcher* Watcher() const { return m_pWatcher.get(); }
    // Looks for the players again: the one in use that went is closed, and the main window told; no message
    // box. While none is in use, the player named is opened when it comes, or without a name the first one
    // that was not already there beside the one in use (that one waits until the user chooses it), and the
    // main window is told of every change, so that it can offer the players there. Nothing happens while a
    // download runs: its own failure path holds.
    void OnDevicesChanged(const std::vector<std::string>& removedPaths = {});

    bool WriteReport(const Report& report) { return m_protocol.WriteReport(report); }
    bool SendCommand(int command, int a, int b, int c, int d)
    {
        return m_protocol.SendCommand(command, a, b, c, d);
    }
    std::optional<std::uint32_t> QueryDevice(int command, int a, int b, std::span<std::uint8_t> dest)
    {
        return m_protocol.QueryDevice(command, a, b, dest);
    }
    ReportProtocol::TextQuery QueryDeviceText(int command, std::span<std::uint8_t> dest, int a, int b)
    {
        return m_protocol.QueryDeviceText(command, dest, a, b);
    }
    bool WriteMemoryBlock(std::uint32_t address, std::span<const std::uint8_t, Protocol::kBlockSize> block)
    {
        return m_protocol.WriteMemoryBlock(address, block);
    }
    // The text the player gives of itself; nothing when it did not answer.
    std::optional<QString> DeviceText();
    // The start-up reading of the configuration into m_Config.
    void ReadDeviceConfig(std::span<std::uint8_t> buffer) { m_protocol.ReadDeviceConfig(buffer, m_Config); }

    // Writes a WAV file's samples into the track slot at start; controls is the configuration the main
    // window's controls give (see TrackDownload).
    LoadResult DownloadTrack(const QString& path, const QString& title, std::uint32_t start,
                             std::uint32_t length, const DeviceConfig& controls)
    {
        return m_download.DownloadTrack(path, title, start, length, controls);
    }

    // The commands, the same for the window and the command-line tool.
    //
    // How a command of a single report ended.
    enum class CommandResult
    {
        Sent,
        // The player did not take it (the diagnostics window says why).
        NotTaken,
        // Not sent: another program is loading tracks into the player (the user was told).
        PlayerTaken,
    };
    // Plays a track (from 0) of a player divided by partitionMode.
    CommandResult Play(int track, int partitionMode);
    // Stops playback: the configuration the player holds, sent again.
    CommandResult Stop();
    // The Load command once a file, a track and a partition are chosen: looks at the file, lets the user
    // choose the part that goes into the slot (see TrackLoader; request says what the user asked for ahead),
    // asks last before it re-partitions the player, downloads, and keeps the track names: the file's name
    // for the track unless nothing was sent, with the length the slot holds when the download ended Done or
    // Stopped, and the default names for the tracks the new partition erased.
    LoadResult LoadFile(const QString& path, int track, int partitionMode, const DeviceConfig& controls,
                        const PartRequest& request = {});
    // Several files into the tracks from firstTrack on (see SetPlan and SetLoader): the plan, with the
    // partition that takes them all unless partitionFixed, agreed to once (AppUi::confirmPlan, which names
    // the tracks a new partition erases) and loaded under one progress window; then the names of the
    // tracks sent and of those erased. What did not go as planned is told with the outcome's report.
    SetOutcome LoadFiles(const QStringList& paths, int firstTrack, int partitionMode, bool partitionFixed,
                         const DeviceConfig& controls, const PartRequest& request = {});
    // The part request names in the file at path, made as a load into a slot of partitionMode would make
    // it, with no player: written to target as a WAV file of the player's format (ConvertFile), or given
    // back for hearing (RenderFile). Done, or why not (the user told).
    LoadResult ConvertFile(const QString& path, const QString& target, int partitionMode,
                           const PartRequest& request);
    std::optional<std::vector<std::uint8_t>> RenderFile(const QString& path, int partitionMode,
                                                        const PartRequest& request, LoadResult& result);
    // Sends a new configuration; when it re-partitions the player, only after the user agreed to lose the
    // tracks it holds.
    enum class ConfigChange
    {
        Sent,
        // Declined, asked for while another command runs, or the player is another program's for now (the
        // user was told): nothing was sent.
        Declined,
        // The player did not take it (the diagnostics window says why).
        NotTaken,
    };
    ConfigChange ChangeConfig(const DeviceConfig& config);

    // The tracks on the player whose space a download into target with partitionMode would take: none
    // unless it re-partitions, for the player's slots are those of the partition it reported. Without a
    // target, every track the new partition takes the place of.
    std::vector<int> TracksErasedBy(int partitionMode, const std::optional<TrackSlot>& target) const;

    // A command that hands the user-interface events out while it runs (a load, with its conversion and
    // download) makes the program busy: nothing else may start meanwhile, and the user interface is told.
    bool IsBusy() const { return m_nBusy > 0; }

    // What a load sent into a track, whichever command sent it: the track is now title and holds samples
    // bytes of sound (0 when that is not known, as after a download that failed part way).
    void NoteTrackLoaded(int track, const QString& title, std::uint32_t samples);
    // A track the player no longer holds: the default name again, and no length.
    void ForgetTrack(int track);
    // A track as the user sees it named: the name, then the length as m:ss (to the nearest second, and
    // never 0:00 for a track with sound) where it is known: "Sigla (0:11)".
    QString TrackLabel(int track) const;

    // The track names, their lengths and the configuration kept between runs, in the store of the named
    // program (the window's own name, which the command-line tool gives to share the window's store): the
    // names of as many tracks as a partition makes at most, each under its value name ("Brano1" ...
    // "Brano8"), and their lengths in tenths of a second ("Durata1" ... "Durata8"; 0 for none). A store
    // that holds fewer (one written for the first four only, or before lengths were kept) gives the others
    // the default names, and no length.
    void LoadSettings(const QString& application = QCoreApplication::applicationName());
    void SaveSettings();
    static constexpr int kSavedTracks = 8;
    static QString TrackValueName(int track);
    static QString LengthValueName(int track);
    // The name a track has until a file is loaded into it ("Brano 3"), in the program's language.
    static QString DefaultTrackName(int track);
    // The same name as the store keeps it: in Italian, as the program has always written it, whatever the
    // language of the run that wrote it.
    static QString StoredDefaultName(int track);
    // A division of the memory into count tracks, as the questions and tooltips name it ("un brano",
    // "4 brani").
    static QString Division(int count);

    // The company key under which the settings are kept.
    void SetRegistryKey(const QString& key) { m_strRegistryKey = key; }

    // Shared state. Only the playing flag is written by the reader thread.
    std::atomic<int> m_bPlaying{0};
    std::unique_ptr<CRegSettings> m_pSettings;
    int m_nDeviceState = 0;
    DeviceConfig m_Config{0, 0, 45};
    int m_nDefaultTrack = 0;
    std::array<QString, kTrackCount> m_strTrackName;
    // Each track's length in tenths of a second, as the program sent it; 0 where it is not known.
    std::array<std::uint32_t, kTrackCount> m_nTrackTenths{};
    CDiagnosticsDlg* m_pDiagDlg = nullptr;
    CPlayerDlg* m_pMainWnd = nullptr;

private:
    class BusyScope;

    // Asks before a re-partition, naming the tracks it erases; true to go on.
    bool ConfirmRepartition(int partitionMode, const std::vector<int>& erased, bool loading);
    void ReportOpenFailure(std::uint32_t errorCode);
    // Tells the user that another program is loading tracks into the player in use.
    void ReportPlayerTaken();
    // Whether another program is loading tracks into the player in use; the user is told when it is.
    bool RefusedAsTaken();
    // Opens a player that was plugged in; a node whose permissions are not set yet is tried again a few
    // times over about a second.
    void OpenArrivedDevice(const std::string& path, int attemptsLeft);
    // The players there beside the one in use.
    void NotePassedOver();

    AppUi* m_pUi = nullptr;
    int m_nBusy = 0;
    QString m_strRegistryKey;
    std::unique_ptr<DeviceWatcher> m_pWatcher;
    // The player named (--device, or the user's choice in the main window); empty for the first.
    std::string m_wantedPath;
    // Players that were there while another was in use: none of them is opened unless the user chooses it.
    std::set<std::string> m_passedOver;
    UiMessageQueue m_messages;
    DeviceLink m_link{m_messages, m_bPlaying};
    ReportProtocol m_protocol{m_link};
    TrackDownload m_download{m_protocol, m_Config};
    TrackLoader m_loader{m_download};
    SetLoader m_setLoader{m_loader};
};
