#include "ui/WidgetAppUi.h"

#include "app/CPlayerApp.h"
#include "ui/CPlayerDlg.h"
#include "ui/CProgressDlg.h"
#include "widgets/MessageBox.h"

#include <QApplication>

void WidgetAppUi::messageBox(const QString& text, MessageIcon icon)
{
    MessageBox::show(QApplication::activeWindow(), text, icon);
}

void WidgetAppUi::runMainWindow(CPlayerApp& app)
{
    auto dialog = std::make_unique<CPlayerDlg>(app);
    app.m_pMainDlg = dialog.get();
    app.m_pMainWnd = dialog.get();
    m_mainWindow = dialog.get();
    dialog->DoModal();
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

void WidgetAppUi::processEvents()
{
    QCoreApplication::processEvents();
}
