#include "app/CPlayerApp.h"
#include "device/SimulatedPlayer.h"
#include "ui/CPlayerDlg.h"
#include "ui/WidgetAppUi.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// The real dialogs, but message boxes are only remembered, and the main window is inspected and closed as
// soon as it runs.
class TestUi : public WidgetAppUi
{
public:
    void messageBox(const QString& text, MessageIcon) override { messages.append(text); }

    void runMainWindow(CPlayerApp& app) override
    {
        QTimer::singleShot(0, [this, &app] {
            auto* dialog = qobject_cast<CPlayerDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            mainWindowWhileOpen = app.m_pMainWnd.load() == dialog;
            deviceText = dialog->findChild<QLabel*>(QStringLiteral("deviceText"))->text();
            dialog->reject();
        });
        WidgetAppUi::runMainWindow(app);
    }

    QStringList messages;
    QString deviceText;
    bool mainWindowWhileOpen = false;
};

TEST(InitInstance, ShowsThePlayersTextAndClosesTheLinkAtTheEnd)
{
    CPlayerApp app;
    auto player = std::make_unique<SimulatedPlayer>();
    player->setText("Zoffino di prova");
    SimulatedPlayer& simulated = *player;
    app.SetBackend(std::move(player));
    TestUi ui;
    app.SetUi(&ui);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(app.InitInstance());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);

    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(ui.deviceText, "Zoffino di prova");
    EXPECT_TRUE(ui.mainWindowWhileOpen);
    EXPECT_EQ(app.m_pMainWnd.load(), nullptr);
    EXPECT_EQ(app.m_pMainDlg, nullptr);
    EXPECT_EQ(app.m_nDeviceState, 1);
    EXPECT_FALSE(app.m_hReaderThread.joinable());
    EXPECT_FALSE(app.m_hWriteDevice);
    // An erased player's configuration was repaired at start.
    EXPECT_EQ(simulated.config(), (std::array<std::uint8_t, 3>{0, 0, 60}));
    EXPECT_EQ(app.m_strTrackName[0], "Brano 1");
    EXPECT_EQ(app.m_strTrackName[15], "Brano 16");
}

TEST(InitInstance, WithoutAPlayerSaysSoOnceAndGoesOn)
{
    CPlayerApp app;
    auto player = std::make_unique<SimulatedPlayer>();
    player->setPresent(false);
    app.SetBackend(std::move(player));
    TestUi ui;
    app.SetUi(&ui);

    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(ui.messages, QStringList{"Unable to open VxD, Error code: 103"});
    EXPECT_EQ(ui.deviceText, "<Lettore USB non trovato>");
    EXPECT_EQ(app.m_nDeviceState, -1);
    EXPECT_EQ(app.m_Config, DeviceConfig::defaults());
}

} // namespace
