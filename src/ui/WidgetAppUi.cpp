#include "ui/WidgetAppUi.h"

#include "app/CPlayerApp.h"
#include "ui/CPlanDlg.h"
#include "ui/CPlayerDlg.h"
#include "ui/CProgressDlg.h"
#include "ui/CTrackDlg.h"
#include "ui/StopSignal.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <cstdio>

QWidget* WidgetAppUi::boxParent() const
{
    // After a file dialog closes no window is active for a moment; a box without a parent would then be
    // stacked anywhere, often behind the window that waits for it.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    return m_mainWindow;
}

void WidgetAppUi::messageBox(const QString& text, MessageIcon icon)
{
    // Nobody may be there to close a box any more (a logout): what happened is said where a log keeps it.
    if (stopping()) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return;
    }
    MessageBox::show(boxParent(), text, icon);
}

bool WidgetAppUi::stopping() const
{
    // The signal is counted at once, the event loop hands it to stop() later: a download may have ended
    // on it in between.
    return m_stopping || StopSignal::requested();
}

void WidgetAppUi::stop()
{
    m_stopping = true;
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
    // Answered as "Annulla" would answer them: the track window, the conversion's progress, a question, the
    // file dialog, the About box. The download's own window has no Cancel: the download asks StopSignal.
    QList<QPointer<QDialog>> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog && dialog != m_mainWindow && dialog->isVisible()) {
            windows.append(dialog);
        }
    }
    for (const QPointer<QDialog>& dialog : windows) {
        if (dialog) {
            dialog->reject();
        }
    }
    closeMainWindow();
}

void WidgetAppUi::closeMainWindow()
{
    // Queued: a command that just ended is still on the stack, and the window refuses to close while one
    // works in it (busyChanged brings the request back once it is over).
    if (m_mainWindow) {
        QMetaObject::invokeMethod(m_mainWindow, &QDialog::reject, Qt::QueuedConnection);
    }
}

void WidgetAppUi::runMainWindow(CPlayerApp& app)
{
    auto dialog = std::make_unique<CPlayerDlg>(app);
    app.m_pMainWnd = dialog.get();
    m_mainWindow = dialog.get();
    if (stopping()) {
        closeMainWindow();
    }
    dialog->DoModal();
    app.m_pMainWnd = nullptr;
    dialog->StoreConfig();
    m_mainWindow = nullptr;
    dialog.reset();
}

void WidgetAppUi::busyChanged(bool busy)
{
    if (m_mainWindow) {
        m_mainWindow->OnBusyChanged(busy);
    }
    if (!busy && stopping()) {
        closeMainWindow();
    }
}

void WidgetAppUi::deviceChanged(bool present)
{
    if (m_mainWindow) {
        m_mainWindow->OnDeviceChanged(present);
    }
}

std::unique_ptr<ProgressIndicator> WidgetAppUi::createProgress(const QString& text, int upper)
{
    auto dialog = std::make_unique<CProgressDlg>();
    if (!dialog->Create(m_mainWindow, text, upper, 0)) {
        return nullptr;
    }
    return dialog;
}

std::unique_ptr<ProgressIndicator> WidgetAppUi::createSetProgress(const QString& text, int upper)
{
    // A set can take minutes: unlike a single file's, it can be stopped between its blocks.
    auto dialog = std::make_unique<CProgressDlg>();
    if (!dialog->Create(m_mainWindow, text, upper, CProgressDlg::kEnableCancel)) {
        return nullptr;
    }
    return dialog;
}

void WidgetAppUi::processEvents()
{
    QCoreApplication::processEvents();
}

bool WidgetAppUi::ask(const QString& text, MessageIcon icon, const QString& acceptText,
                      const QString& checkText, bool* checked)
{
    if (stopping()) {
        return false;
    }
    return MessageBox::ask(boxParent(), text, icon, acceptText, checkText, checked);
}

bool WidgetAppUi::waitWithProgress(const QString& text, const std::function<double()>& fraction,
                                   const std::function<bool()>& finished)
{
    // How often the worker's progress is looked at: a smooth bar, and no cost worth naming.
    constexpr int kPollMs = 30;
    constexpr int kSteps = 1000;
    if (stopping()) {
        return false;
    }
    CProgressDlg dialog;
    // Nothing else may start while the work runs: the next step depends on it.
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.Create(m_mainWindow, text, kSteps, CProgressDlg::kEnableCancel);
    QEventLoop loop;
    bool cancelled = false;
    QObject::connect(&dialog, &QDialog::rejected, &loop, [&] {
        cancelled = true;
        loop.quit();
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (finished()) {
            loop.quit();
            return;
        }
        dialog.SetPos(static_cast<int>(fraction() * kSteps));
    });
    if (!finished()) {
        poll.start(kPollMs);
        loop.exec();
    }
    return !cancelled;
}

bool WidgetAppUi::confirmPlan(SetPlan& plan)
{
    CPlanDlg dialog(plan, *this, boxParent());
    return dialog.exec() == QDialog::Accepted;
}

std::optional<PreparedTrack> WidgetAppUi::prepareTrack(TrackSource& source, const TrackSlot& slot,
                                                       const TrackPart& initial)
{
    if (stopping()) {
        return std::nullopt;
    }
    CTrackDlg dialog(source, slot, initial, m_sound, boxParent());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.prepared();
}
