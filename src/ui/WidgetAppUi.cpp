#include "ui/WidgetAppUi.h"

#include "app/CPlayerApp.h"
#include "ui/CPlayerDlg.h"

#include <QApplication>
#include <QMessageBox>

#include <memory>

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
    dialog->DoModal();
    // From here on the reader no longer posts to the window.
    app.m_pMainWnd = nullptr;
    dialog->StoreConfig();
    dialog.reset();
    app.m_pMainDlg = nullptr;
}
