#pragma once

#include "device/DeviceConfig.h"

#include <QDialog>
#include <QIcon>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

class CPlayerApp;
class QCheckBox;
class QComboBox;
class QLabel;
class QMimeData;
class QPushButton;
class QRadioButton;
struct TrackSlot;
struct UiMessage;

// The program's main window: the player's text, the partition of its memory, the track list, loading a
// WAV file into the selected track's slot, playing and stopping, and the diagnostics window.
class CPlayerDlg : public QDialog
{
    Q_OBJECT

public:
    // The About entry's command; the system commands of the window manager are 0xF000 and above.
    static constexpr unsigned IDM_ABOUTBOX = 0x0010;

    explicit CPlayerDlg(CPlayerApp& app, QWidget* parent = nullptr);
    ~CPlayerDlg() override;

    // Initialises the window from the player and runs it modally.
    int DoModal();
    // Packs the Loop, partition and Default state into the configuration.
    void StoreConfig();
    // The configuration as the controls give it, without storing it.
    DeviceConfig ControlsConfig();
    void FillTrackList();
    void UpdateControls();
    void OnSysCommand(unsigned id, long param);
    // The player was plugged in or out while the window runs.
    void OnDeviceChanged(bool present);
    // A command that works while the window's events go on started (busy) or ended.
    void OnBusyChanged(bool busy);
    // A slot's length in seconds as the window writes it ("11,9"); empty for no partition.
    static QString SlotSeconds(int partitionMode);
    // The local files a drag brings, a folder's loadable files (by name, not its sub-folders) in its place;
    // empty when it brings anything that is not a local file.
    static QStringList DroppedFiles(const QMimeData* data);
    // What the window shows in place of the player's text when there is none.
    static QString NoPlayerText() { return tr("<Lettore USB non trovato>"); }

    QIcon m_hIcon;
    int m_nTrack = -1;
    int m_nPartition = -1;
    bool m_bLoop = false;
    bool m_bDefault = false;
    QString m_strDevice;

signals:
    // The play button's caption has just followed the playing state that the player reported.
    void playStateShown(bool playing);

public slots:
    void accept() override;
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnInitDialog();
    // Names, descriptions and tooltips for the controls a screen reader or a newcomer cannot make out.
    void DescribeControls();
    // From the player's text and configuration, as at start.
    void StartFromPlayer();
    // Reads the controls into the members (true) or writes the members into the controls (false).
    void UpdateData(bool saveAndValidate);
    void OnTrackSelChange();
    void OnPartitionClicked();
    void OnPlay();
    void OnLoadFile();
    // Files into the track (from 0) and the ones after it: one as the Load command loads it, several as a
    // set, after which the window follows the player's partition.
    void LoadPaths(const QStringList& paths, int firstTrack);
    // Files may be dropped only while a player is there, divided, and nothing is under way.
    bool AcceptsDrop() const;
    void OnDiagnostics();
    void OnMessage(UiMessage& message);
    // While a download runs no command may start another, nor close the window under it.
    void SetCommandsEnabled(bool enabled);
    // The controls that need the player, and the track buttons that also need a selected track.
    void EnableDeviceControls(bool ready);
    void StopListening();
    // The longest track the selected partition's slots hold, under the partition buttons.
    void ShowCapacity();
    // The player's text (m_strDevice) and its tooltip: the text and path of the one in use; without an
    // answer, that there is none, or, with none in use, that there are players to choose from.
    void ShowPlayer(const std::optional<QString>& text);

    CPlayerApp& m_app;
    bool m_bWindowExists = false;
    bool m_bListening = false;
    QComboBox* m_ctlTrack;
    QPushButton* m_ctlLoad;
    QCheckBox* m_ctlDefault;
    std::array<QRadioButton*, 4> m_ctlPartition;
    QCheckBox* m_ctlLoop;
    QPushButton* m_ctlPlay;
    QPushButton* m_ctlDiagnostics;
    QLabel* m_ctlDevice;
    QLabel* m_ctlCapacity;
};
