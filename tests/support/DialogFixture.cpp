#include "DialogFixture.h"

#include "ui/CPlayerDlg.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

DialogFixture::DialogFixture()
{
    auto owned = std::make_unique<FaultInjectingPlayer>();
    player = owned.get();
    app.SetBackend(std::move(owned));
    app.SetUi(&ui);
    // Anew, so that what a failed test left (texts, answers it never used) cannot pass into this one.
    MessageBox::setRecording(true);
}

DialogFixture::~DialogFixture()
{
    app.CloseDevice();
}

void DialogFixture::runMainWindow(const std::function<void(CPlayerDlg&)>& body)
{
    app.OpenDevice();
    player->recordOutputReports(true);
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CPlayerDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        body(*dialog);
        if (dialog->isVisible()) {
            dialog->reject();
        }
    });
    ui.runMainWindow(app);
}

std::vector<std::vector<std::uint8_t>> DialogFixture::takeReports()
{
    auto reports = player->outputReports();
    player->recordOutputReports(true);
    return reports;
}

bool DialogFixture::waitFor(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, 5000);
}
