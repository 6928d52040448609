#include "ui/WidgetAppUi.h"

#include "app/CPlayerApp.h"
#include "ui/CPlanDlg.h"
#include "ui/CPlayerDlg.h"
#include "ui/CProgressDlg.h"
#include "ui/CTrackDlg.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

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
    MessageBox::show(boxParent(), text, icon);
}

void WidgetAppUi::runMainWindow(CPlayerApp& app)
{
    auto dialog = std::make_unique<CPlayerDlg>(app);
    app.m_pMainWnd = dialog.get();
    m_mainWindow = dialog.get();
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
    return MessageBox::ask(boxParent(), text, icon, acceptText, checkText, checked);
}

bool WidgetAppUi::waitWithProgress(const QString& text, const std::function<double()>& fraction,
                                   const std::function<bool()>& finished)
{
    // How often the worker's progress is looked at: a smooth bar, and no cost worth naming.
    constexpr int kPollMs = 30;
    constexpr int kSteps = 1000;
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
    CTrackDlg dialog(source, slot, initial, m_sound, boxParent());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.prepared();
}
