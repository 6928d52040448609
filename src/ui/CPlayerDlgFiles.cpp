// The main window's ways of bringing files to the player: the Load command's file dialog, and files or
// folders dropped onto the window.
#include "ui/CPlayerDlg.h"

#include "app/CPlayerApp.h"
#include "download/TrackLoader.h"
#include "download/TrackSlot.h"
#include "widgets/FileDialog.h"
#include "widgets/MessageBox.h"

#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace {

// A drag from another program may bring web addresses or files of another machine: only what this one can
// open is taken.
bool onlyLocalFiles(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().isEmpty()) {
        return false;
    }
    const QList<QUrl> urls = data->urls();
    return std::all_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

} // namespace

void CPlayerDlg::OnLoadFile()
{
    UpdateData(true);
    const QStringList paths = FileDialog::getOpenFileNames(
        this,
        tr("File audio supportati (%1);;File audio (*.wav);;File audio MP3 (*.mp3)")
            .arg(TrackLoader::filePatterns()),
        QStringLiteral("wav"));
    if (paths.isEmpty() || m_nTrack < 0) {
        return;
    }
    LoadPaths(paths, m_nTrack);
}

void CPlayerDlg::LoadPaths(const QStringList& paths, int firstTrack)
{
    if (paths.isEmpty()) {
        return;
    }
    UpdateData(true);
    if (paths.size() == 1) {
        m_app.LoadFile(paths.constFirst(), firstTrack, m_nPartition, ControlsConfig());
        UpdateData(false);
        return;
    }
    const SetOutcome outcome = m_app.LoadFiles(paths, firstTrack, m_nPartition, false, ControlsConfig());
    if (outcome.declined) {
        UpdateData(false);
        return;
    }
    // The set may have divided the player anew to take every file: the window shows what the player holds.
    m_nPartition = m_app.m_Config.partitionMode();
    UpdateData(false);
    FillTrackList();
    UpdateControls();
}

QStringList CPlayerDlg::DroppedFiles(const QMimeData* data)
{
    if (!onlyLocalFiles(data)) {
        return {};
    }
    const QStringList patterns = TrackLoader::filePatterns().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (!QFileInfo(path).isDir()) {
            paths << path;
            continue;
        }
        const QDir folder(path);
        for (const QString& name :
             folder.entryList(patterns, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase)) {
            paths << folder.filePath(name);
        }
    }
    return paths;
}

bool CPlayerDlg::AcceptsDrop() const
{
    return m_bWindowExists && m_app.m_nDeviceState > 0 && !m_app.IsBusy() &&
           TrackSlot::countFor(m_nPartition) > 0;
}

void CPlayerDlg::dragEnterEvent(QDragEnterEvent* event)
{
    if (AcceptsDrop() && onlyLocalFiles(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void CPlayerDlg::dragMoveEvent(QDragMoveEvent* event)
{
    if (AcceptsDrop() && onlyLocalFiles(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void CPlayerDlg::dropEvent(QDropEvent* event)
{
    if (!AcceptsDrop() || !onlyLocalFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    const QStringList paths = DroppedFiles(event->mimeData());
    event->acceptProposedAction();
    if (paths.isEmpty()) {
        const QString folder = QDir::toNativeSeparators(event->mimeData()->urls().constFirst().toLocalFile());
        MessageBox::show(this,
                         tr("Nella cartella \"%1\" non c'è nessun file audio da caricare: trascinare i file "
                            "audio, o la cartella che li contiene.")
                             .arg(folder),
                         MessageIcon::Information);
        return;
    }
    UpdateData(true);
    const int firstTrack = std::max(m_nTrack, 0);
    // The program the files came from waits for the drop to end: the load, with its questions and its
    // progress, starts once it has.
    QMetaObject::invokeMethod(
        this, [this, paths, firstTrack] { LoadPaths(paths, firstTrack); }, Qt::QueuedConnection);
}

bool CPlayerDlg::eventFilter(QObject* watched, QEvent* event)
{
    // The track list takes drops as the window does.
    if (watched == m_ctlTrack) {
        switch (event->type()) {
        case QEvent::DragEnter:
            dragEnterEvent(static_cast<QDragEnterEvent*>(event));
            return true;
        case QEvent::DragMove:
            dragMoveEvent(static_cast<QDragMoveEvent*>(event));
            return true;
        case QEvent::Drop:
            dropEvent(static_cast<QDropEvent*>(event));
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
