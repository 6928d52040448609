#include "app/CPlayerApp.h"
#include "res/ControlIds.h"
#include "sim/FaultInjectingPlayer.h"
#include "ui/CPlayerDlg.h"
#include "ui/WidgetAppUi.h"
#include "widgets/DialogBuilder.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QLabel>
#include <QSettings>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// The store as InitInstance sees it.
std::unique_ptr<QSettings> store()
{
    auto settings =
        std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                    QStringLiteral("Quenmark Audio"), QCoreApplication::applicationName());
    settings->beginGroup(QStringLiteral("Settings/variabili"));
    return settings;
}

// The program's whole run with the real dialogs, on a simulated player; the main window is inspected and
// closed as soon as it is up.
class InitInstance : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quenmark Audio"),
                  QCoreApplication::applicationName())
            .clear();
        MessageBox::takeRecorded();
        auto owned = std::make_unique<FaultInjectingPlayer>();
        player = owned.get();
        app.SetBackend(std::move(owned));
        app.SetUi(&ui);
    }

    bool run()
    {
        QTimer::singleShot(0, [this] {
            auto* dialog = qobject_cast<CPlayerDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            mainWindowWhileOpen = app.m_pMainWnd == dialog;
            deviceText = DialogBuilder::control<QLabel>(*dialog, IDC_DEVICE_TEXT)->text();
            dialog->reject();
        });
        return app.InitInstance();
    }

    WidgetAppUi ui;
    CPlayerApp app;
    FaultInjectingPlayer* player = nullptr;
    QString deviceText;
    bool mainWindowWhileOpen = false;
};

TEST_F(InitInstance, ShowsThePlayersTextAndClosesTheLinkAtTheEnd)
{
    player->setText("Zoffino di prova");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(run());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);

    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
    EXPECT_EQ(deviceText, "Zoffino di prova");
    EXPECT_TRUE(mainWindowWhileOpen);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(app.m_nDeviceState, 1);
    EXPECT_FALSE(app.Link().readerRunning());
    EXPECT_FALSE(app.Link().canWrite());
    // An erased player's configuration was repaired at start.
    EXPECT_EQ(player->config(), (std::array<std::uint8_t, 3>{0, 0, 60}));
    EXPECT_EQ(app.m_strTrackName[0], "Brano 1");
    EXPECT_EQ(app.m_strTrackName[15], "Brano 16");

    // At exit the store holds the configuration and the names of the eight tracks a partition makes at most.
    const auto saved = store();
    EXPECT_EQ(saved->value("Config1").toUInt(), 0u);
    EXPECT_EQ(saved->value("Config2").toUInt(), 0u);
    EXPECT_EQ(saved->value("Config3").toUInt(), 60u);
    EXPECT_EQ(saved->value("Brano1").toString(), "Brano 1");
    EXPECT_EQ(saved->value("Brano4").toString(), "Brano 4");
    EXPECT_EQ(saved->value("Brano8").toString(), "Brano 8");
    EXPECT_EQ(saved->value("Durata8").toString(), "0") << "no length for a name the program did not load";
    EXPECT_FALSE(saved->contains("Brano9"));
}

TEST_F(InitInstance, StoredNamesComeBackAndTheStoredConfigurationDoesNot)
{
    {
        const auto seeded = store();
        seeded->setValue("Brano2", "La mia canzone");
        seeded->setValue("Brano3", "");
        seeded->setValue("Brano7", "Sigla finale");
        seeded->setValue("Config2", 3);
    }
    player->setConfig(0, 0x12, 70);
    run();

    EXPECT_EQ(app.m_strTrackName[0], "Brano 1");
    EXPECT_EQ(app.m_strTrackName[1], "La mia canzone");
    EXPECT_EQ(app.m_strTrackName[2], "Brano 3");
    EXPECT_EQ(app.m_strTrackName[6], "Sigla finale");
    EXPECT_EQ(app.m_strTrackName[7], "Brano 8") << "a store without the later names still loads";
    const auto saved = store();
    // The player, not the store, gave the configuration; Default follows the (unselected) first track.
    EXPECT_EQ(saved->value("Config2").toUInt(), 0x02u);
    EXPECT_EQ(saved->value("Config3").toUInt(), 70u);
    EXPECT_EQ(saved->value("Brano2").toString(), "La mia canzone");
}

TEST_F(InitInstance, WithoutAPlayerSaysSoOnceAndGoesOn)
{
    player->setPresent(false);
    EXPECT_FALSE(run());
    const QStringList shown = MessageBox::takeRecorded();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("Unable to open VxD, Error code: 103\n\n")) << shown[0].toStdString();
    EXPECT_EQ(deviceText, "<Lettore USB non trovato>");
    EXPECT_EQ(app.m_nDeviceState, -1);
    EXPECT_EQ(app.m_Config, DeviceConfig::defaults());
    EXPECT_EQ(store()->value("Config3").toUInt(), 60u);
}

} // namespace
