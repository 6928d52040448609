#include "ui/CPlayerDlg.h"

#include "app/AppUi.h"
#include "app/CPlayerApp.h"
#include "diag/CDiagnosticsDlg.h"
#include "download/Durations.h"
#include "download/TrackSlot.h"
#include "res/DialogTemplate.h"
#include "res/StringTable.h"
#include "ui/SystemMenu.h"
#include "widgets/AppIcon.h"
#include "widgets/DialogBuilder.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

CPlayerDlg::CPlayerDlg(CPlayerApp& app, QWidget* parent)
    : QDialog(parent), m_hIcon(AppIcon::icon()), m_app(app)
{
    DialogBuilder::build(*this, DialogTemplate::get(IDD_PLAYER));
    // The main window alone can also be minimised, and it has a taskbar entry of its own.
    setWindowFlags((windowFlags() & ~Qt::Dialog) | Qt::Window | Qt::WindowMinimizeButtonHint);
    m_ctlTrack = DialogBuilder::control<QComboBox>(*this, IDC_TRACK);
    m_ctlLoad = DialogBuilder::control<QPushButton>(*this, IDC_LOAD);
    m_ctlDefault = DialogBuilder::control<QCheckBox>(*this, IDC_DEFAULT);
    m_ctlPartition = {DialogBuilder::control<QRadioButton>(*this, IDC_PARTITION_1),
                      DialogBuilder::control<QRadioButton>(*this, IDC_PARTITION_2),
                      DialogBuilder::control<QRadioButton>(*this, IDC_PARTITION_4),
                      DialogBuilder::control<QRadioButton>(*this, IDC_PARTITION_8)};
    m_ctlLoop = DialogBuilder::control<QCheckBox>(*this, IDC_LOOP);
    m_ctlPlay = DialogBuilder::control<QPushButton>(*this, IDC_PLAY);
    m_ctlDiagnostics = DialogBuilder::control<QPushButton>(*this, IDC_DIAGNOSTICS);
    m_ctlDevice = DialogBuilder::control<QLabel>(*this, IDC_DEVICE_TEXT);
    m_ctlCapacity = DialogBuilder::control<QLabel>(*this, IDC_CAPACITY);

    DescribeControls();

    connect(m_ctlPlay, &QPushButton::clicked, this, &CPlayerDlg::OnPlay);
    connect(m_ctlLoad, &QPushButton::clicked, this, &CPlayerDlg::OnLoadFile);
    connect(m_ctlDiagnostics, &QPushButton::clicked, this, &CPlayerDlg::OnDiagnostics);
    for (QRadioButton* radio : m_ctlPartition) {
        connect(radio, &QRadioButton::clicked, this, &CPlayerDlg::OnPartitionClicked);
    }
    connect(m_ctlTrack, &QComboBox::activated, this, &CPlayerDlg::OnTrackSelChange);
    // Files dropped onto the window or onto the track list go into the tracks.
    setAcceptDrops(true);
    m_ctlTrack->setAcceptDrops(true);
    m_ctlTrack->installEventFilter(this);
}

void CPlayerDlg::DescribeControls()
{
    // The list's label names it for a screen reader, and Alt on its letter would move to it.
    DialogBuilder::control<QLabel>(*this, IDC_TRACK_LABEL)->setBuddy(m_ctlTrack);
    m_ctlTrack->setAccessibleName(tr("Brano"));
    m_ctlTrack->setPlaceholderText(tr("Scegliere un brano"));
    m_ctlTrack->setAccessibleDescription(tr("Il brano a cui si riferiscono Carica file, Suona e Default"));
    m_ctlDevice->setAccessibleDescription(tr("Il testo con cui il lettore collegato si presenta"));
    m_ctlDefault->setToolTip(tr("Il brano che il lettore suona quando viene premuto il suo tasto"));
    m_ctlLoop->setToolTip(tr("Il lettore ripete il brano finché non viene fermato"));
    for (std::size_t i = 0; i < m_ctlPartition.size(); ++i) {
        const int mode = static_cast<int>(i);
        m_ctlPartition[i]->setToolTip(tr("Divide la memoria del lettore in %1 da %2 s ciascuno")
                                          .arg(CPlayerApp::Division(TrackSlot::countFor(mode)))
                                          .arg(SlotSeconds(mode)));
    }
}

QString CPlayerDlg::SlotSeconds(int partitionMode)
{
    if (TrackSlot::countFor(partitionMode) == 0) {
        return {};
    }
    return Durations::tenths(TrackSlot::secondsFor(partitionMode));
}

CPlayerDlg::~CPlayerDlg()
{
    StopListening();
}

void CPlayerDlg::StopListening()
{
    if (m_bListening) {
        m_app.Messages().clearHandler(UiTarget::MainWindow);
        m_bListening = false;
    }
}

int CPlayerDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

void CPlayerDlg::OnInitDialog()
{
    m_bWindowExists = true;
    // From here on the reader forwards the player's reports and the playing state to this window.
    m_app.Messages().setHandler(UiTarget::MainWindow, [this](UiMessage& message) { OnMessage(message); });
    m_bListening = true;

    SystemMenu::addEntry(*this, IDM_ABOUTBOX, StringTable::load(IDS_ABOUTBOX),
                         [this](unsigned id, long param) { OnSysCommand(id, param); });
    setWindowIcon(m_hIcon);
    StartFromPlayer();
}

void CPlayerDlg::StartFromPlayer()
{
    m_nPartition = 0;
    m_nTrack = -1;
    m_bLoop = false;
    m_bDefault = false;

    ShowPlayer(m_app.DeviceText());
    std::array<std::uint8_t, 256> buffer{};
    m_app.ReadDeviceConfig(buffer);
    m_bLoop = m_app.m_Config.loop();
    m_nPartition = m_app.m_Config.partitionMode();
    m_bDefault = m_app.m_Config.defaultFlag() != 0;

    UpdateData(false);
    FillTrackList();
    UpdateControls();
}

void CPlayerDlg::OnDeviceChanged(bool present)
{
    // Until a status report says otherwise: the player that went sends none, another one has not yet.
    m_ctlPlay->setText(tr("Suona"));
    if (present) {
        // As at start: the player's text and configuration (repaired if need be) set the controls.
        StartFromPlayer();
        return;
    }
    UpdateData(true);
    ShowPlayer(std::nullopt);
    UpdateControls();
}

void CPlayerDlg::UpdateData(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_nTrack = m_ctlTrack->currentIndex();
        m_nPartition = -1;
        for (std::size_t i = 0; i < m_ctlPartition.size(); ++i) {
            if (m_ctlPartition[i]->isChecked()) {
                m_nPartition = static_cast<int>(i);
            }
        }
        m_bLoop = m_ctlLoop->isChecked();
        m_bDefault = m_ctlDefault->isChecked();
        m_strDevice = m_ctlDevice->text();
        return;
    }
    m_ctlTrack->setCurrentIndex(m_nTrack < m_ctlTrack->count() ? m_nTrack : -1);
    for (std::size_t i = 0; i < m_ctlPartition.size(); ++i) {
        // Exclusive radio buttons cannot all be cleared, which a partition without a button needs.
        m_ctlPartition[i]->setAutoExclusive(false);
        m_ctlPartition[i]->setChecked(static_cast<int>(i) == m_nPartition);
        m_ctlPartition[i]->setAutoExclusive(true);
    }
    m_ctlLoop->setChecked(m_bLoop);
    m_ctlDefault->setChecked(m_bDefault);
    if (m_ctlDevice->text() != m_strDevice) {
        m_ctlDevice->setText(m_strDevice);
        // A new name is what a screen reader announces: the player came, went or was replaced.
        m_ctlDevice->setAccessibleName(tr("Lettore: %1").arg(m_strDevice));
    }
}

void CPlayerDlg::FillTrackList()
{
    UpdateData(true);
    m_ctlTrack->clear();
    const int count = std::max(TrackSlot::countFor(m_nPartition), 1);
    for (int i = 0; i < count; ++i) {
        m_ctlTrack->addItem(m_app.TrackLabel(i));
    }
    // Adding to an empty list selects its first entry; the list starts without a selection, and so do the
    // commands that act on the selected track.
    m_ctlTrack->setCurrentIndex(-1);
    m_nTrack = -1;
    ShowCapacity();
}

void CPlayerDlg::ShowCapacity()
{
    // Every slot of a partition is as long as the others: what a track may last follows from the partition.
    const QString seconds = SlotSeconds(m_nPartition);
    if (seconds.isEmpty()) {
        m_ctlCapacity->clear();
        return;
    }
    m_ctlCapacity->setText(tr("Durata massima: %1 s").arg(seconds));
}

void CPlayerDlg::UpdateControls()
{
    EnableDeviceControls(m_app.m_nDeviceState > 0);
    m_bDefault = m_nTrack == m_app.m_nDefaultTrack;
    UpdateData(false);
}

void CPlayerDlg::EnableDeviceControls(bool ready)
{
    const bool chosen = ready && m_nTrack >= 0;
    m_ctlPlay->setEnabled(chosen);
    m_ctlLoad->setEnabled(chosen);
    m_ctlLoad->setToolTip(chosen  ? tr("Carica uno o più file audio, dal brano scelto in poi.")
                          : ready ? tr("Scegliere prima un brano nella lista: il file andrà lì.")
                                  : tr("Nessun lettore collegato: collegarlo per caricare un file."));
    m_ctlDefault->setEnabled(chosen);
    for (QRadioButton* radio : m_ctlPartition) {
        radio->setEnabled(ready);
    }
    m_ctlLoop->setEnabled(ready);
}

void CPlayerDlg::OnTrackSelChange()
{
    UpdateData(true);
    UpdateControls();
}

void CPlayerDlg::OnPartitionClicked()
{
    FillTrackList();
    // Default included: it speaks of the selected track, and there is none now.
    UpdateControls();
}

void CPlayerDlg::OnPlay()
{
    UpdateData(true);
    // The button reads "Interrompi" while the player plays.
    if (m_app.m_bPlaying != 0) {
        m_app.Stop();
    } else if (m_nTrack >= 0) {
        m_app.Play(m_nTrack, m_nPartition);
    }
}

void CPlayerDlg::OnBusyChanged(bool busy)
{
    SetCommandsEnabled(!busy);
}

void CPlayerDlg::SetCommandsEnabled(bool enabled)
{
    m_ctlTrack->setEnabled(enabled);
    m_ctlDiagnostics->setEnabled(enabled);
    // Back as they were: a download changes neither the selection nor the device state.
    EnableDeviceControls(enabled && m_app.m_nDeviceState > 0);
}

void CPlayerDlg::OnDiagnostics()
{
    CDiagnosticsDlg::Open(m_app, this);
}

void CPlayerDlg::OnMessage(UiMessage& message)
{
    // Device reports that reach the window outside a query are dropped with their record; the busy
    // messages have no meaning for it.
    if (message.message == WM_PLAY_STATE) {
        const bool playing = message.wParam != 0;
        m_ctlPlay->setText(playing ? tr("Interrompi") : tr("Suona"));
        emit playStateShown(playing);
    }
}

DeviceConfig CPlayerDlg::ControlsConfig()
{
    if (m_bWindowExists) {
        UpdateData(true);
    }
    return DeviceConfig::fromControls(m_bLoop, m_nPartition, m_bDefault, m_app.m_Config.Config3);
}

void CPlayerDlg::StoreConfig()
{
    m_app.m_Config = ControlsConfig();
}

void CPlayerDlg::accept()
{
    UpdateData(true);
    QDialog::accept();
}

void CPlayerDlg::done(int result)
{
    // Every way of closing comes here (OK, Esc, the window manager's close): the window stays while a
    // command works in it.
    if (m_app.IsBusy()) {
        return;
    }
    // As the window goes, so do the reports the reader would forward to it.
    StopListening();
    QDialog::done(result);
    // As with a destroyed window: from here on nothing is read from the controls.
    m_bWindowExists = false;
}

void CPlayerDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter presses the focused button, elsewhere it is the OK command, which keeps what the controls show.
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuKey) {
        // The menu opens at the focused control, as a context menu asked for from the keyboard does.
        QWidget* at = focusWidget() ? focusWidget() : this;
        const QPoint global = at->mapToGlobal(at->rect().center());
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, mapFromGlobal(global), global);
        contextMenuEvent(&menuEvent);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            accept();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}
