#include "ui/WidgetAppUi.h"

#include "app/CPlayerApp.h"
#include "download/CProgressDlg.h"
#include "ui/CPlayerDlg.h"

#include <QApplication>
#include <QMessageBox>

void WidgetAppUi::messageBox(const QString& text, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Error     ? QMessageBox::Critical
                    : icon == MessageIcon::Warning ? QMessageBox::Warning
                                                   : QMessageBox::Information,
                    QApplication::applicationName(), text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void WidgetAppUi::runMainWindow(CPlayerApp& app)
{
    auto dialog = std::make_unique<CPlayerDlg>(app);
    app.m_pMainDlg = dialog.get();
    app.m_pMainWnd = dialog.get();
    m_mainWindow = dialog.get();
    dialog->DoModal();
    // From here on the reader no longer posts to the window.
    app.m_pMainWnd = nullptr;
    dialog->StoreConfig();
    m_mainWindow = nullptr;
    dialog.reset();
    app.m_pMainDlg = nullptr;
}

std::unique_ptr<ProgressIndicator> WidgetAppUi::createProgress(const QString& text, int upper)
{
    auto dialog = std::make_unique<CProgressDlg>();
    if (!dialog->Create(m_mainWindow, text, upper, 0)) {
        return nullptr;
    }
    return dialog;
}

void WidgetAppUi::storeMainWindowConfig()
{
    if (m_mainWindow) {
        m_mainWindow->StoreConfig();
    }
}

void WidgetAppUi::processEvents()
{
    QCoreApplication::processEvents();
}
