#include "app/CPlayerApp.h"
#include "sim/FaultInjectingPlayer.h"
#include "sim/SimulatedPlayer.h"
#include "ui/CPlayerDlg.h"
#include "ui/WidgetAppUi.h"

#include <QApplication>
#include <QLabel>
#include <QSettings>
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
            deviceText = dialog->findChild<QLabel*>(QStringLiteral("1034"))->text();
            dialog->reject();
        });
        WidgetAppUi::runMainWindow(app);
    }

    QStringList messages;
    QString deviceText;
    bool mainWindowWhileOpen = false;
};

// The store as InitInstance sees it.
std::unique_ptr<QSettings> store()
{
    auto settings =
        std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                    QStringLiteral("Quenmark Audio"), QCoreApplication::applicationName());
    settings->beginGroup(QStringLiteral("Settings/variabili"));
    return settings;
}

void clearStore()
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quenmark Audio"),
                       QCoreApplication::applicationName());
    settings.clear();
}

TEST(InitInstance, ShowsThePlayersTextAndClosesTheLinkAtTheEnd)
{
    clearStore();
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

    // At exit the store holds the configuration and the names of the first four tracks.
    const auto saved = store();
    EXPECT_EQ(saved->value("Config1").toUInt(), 0u);
    EXPECT_EQ(saved->value("Config2").toUInt(), 0u);
    EXPECT_EQ(saved->value("Config3").toUInt(), 60u);
    EXPECT_EQ(saved->value("Brano1").toString(), "Brano 1");
    EXPECT_EQ(saved->value("Brano4").toString(), "Brano 4");
    EXPECT_FALSE(saved->contains("Brano5"));
}

TEST(InitInstance, StoredNamesComeBackAndTheStoredConfigurationDoesNot)
{
    clearStore();
    {
        const auto seeded = store();
        seeded->setValue("Brano2", "La mia canzone");
        seeded->setValue("Brano3", "");
        seeded->setValue("Config2", 3);
    }
    CPlayerApp app;
    auto player = std::make_unique<SimulatedPlayer>();
    player->setConfig(0, 0x12, 70);
    app.SetBackend(std::move(player));
    TestUi ui;
    app.SetUi(&ui);
    app.InitInstance();

    EXPECT_EQ(app.m_strTrackName[0], "Brano 1");
    EXPECT_EQ(app.m_strTrackName[1], "La mia canzone");
    EXPECT_EQ(app.m_strTrackName[2], "Brano 3");
    const auto saved = store();
    // The player, not the store, gave the configuration; Default follows the (unselected) first track.
    EXPECT_EQ(saved->value("Config2").toUInt(), 0x02u);
    EXPECT_EQ(saved->value("Config3").toUInt(), 70u);
    EXPECT_EQ(saved->value("Brano2").toString(), "La mia canzone");
}

TEST(InitInstance, WithoutAPlayerSaysSoOnceAndGoesOn)
{
    clearStore();
    CPlayerApp app;
    auto player = std::make_unique<FaultInjectingPlayer>();
    player->setPresent(false);
    app.SetBackend(std::move(player));
    TestUi ui;
    app.SetUi(&ui);

    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(ui.messages, QStringList{"Unable to open VxD, Error code: 103"});
    EXPECT_EQ(ui.deviceText, "<Lettore USB non trovato>");
    EXPECT_EQ(app.m_nDeviceState, -1);
    EXPECT_EQ(app.m_Config, DeviceConfig::defaults());
    EXPECT_EQ(store()->value("Config3").toUInt(), 60u);
}

} // namespace
