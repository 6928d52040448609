#include "app/CPlayerApp.h"
#include "device/PollingDeviceWatcher.h"
#include "sim/FaultInjectingPlayer.h"

#include "RecordingUi.h"

#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <cerrno>

namespace {

using namespace std::chrono_literals;

// The whole program on a simulated player that a test plugs in and out while the main window is up; the
// watcher looks every 20 ms, so "about a second" has room to spare.
class HotPlug : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        auto owned = std::make_unique<FaultInjectingPlayer>();
        player = owned.get();
        app.SetBackend(std::move(owned));
        app.SetWatcher(std::make_unique<PollingDeviceWatcher>(*app.Backend(), 20ms));
        app.SetUi(&ui);
    }
    // Stands in for the main and diagnostics windows, which take the reader's reports while they are open.
    void listen(CPlayerApp& running)
    {
        running.Messages().setHandler(UiTarget::MainWindow, [](UiMessage&) {});
        running.Messages().setHandler(UiTarget::DiagnosticsDialog, [this](UiMessage& message) {
            if (message.message == WM_DIAG_WRITE && message.text.starts_with("Device ")) {
                diagnostics.push_back(message.text);
            }
        });
    }
    void TearDown() override
    {
        app.Messages().clearHandler(UiTarget::MainWindow);
        app.Messages().clearHandler(UiTarget::DiagnosticsDialog);
        app.SetUi(nullptr);
        app.SetWatcher(nullptr);
    }

    // The player's text as the main window asks for it; empty when it does not answer.
    static std::string deviceText(CPlayerApp& running)
    {
        std::array<std::uint8_t, 256> buffer{};
        if (running.QueryDeviceText(Protocol::CMD_GET_TEXT, buffer, 0, 0) !=
            ReportProtocol::TextQuery::Done) {
            return {};
        }
        return reinterpret_cast<const char*>(buffer.data());
    }

    bool changesAre(std::vector<bool> expected)
    {
        return QTest::qWaitFor([&] { return ui.deviceChanges == expected; }, 1000);
    }

    RecordingUi ui;
    CPlayerApp app;
    FaultInjectingPlayer* player = nullptr;
    std::vector<std::string> diagnostics;
};

TEST_F(HotPlug, APlayerPulledOutAndPluggedInAgainIsClosedAndReopenedWithoutAMessage)
{
    player->setText("Zoffino in prova");
    ui.mainWindow = [&](CPlayerApp& running) {
        listen(running);
        ASSERT_EQ(running.m_nDeviceState, 1);
        EXPECT_EQ(deviceText(running), "Zoffino in prova");

        player->unplug();
        ASSERT_TRUE(changesAre({false}));
        EXPECT_LE(running.m_nDeviceState, 0);
        EXPECT_FALSE(running.Link().canWrite());
        EXPECT_FALSE(running.Link().readerRunning());

        player->replug();
        ASSERT_TRUE(changesAre({false, true}));
        EXPECT_EQ(running.m_nDeviceState, 1);
        EXPECT_EQ(deviceText(running), "Zoffino in prova");
        const std::vector<std::string> logged = {"Device removed: sim:player", "Device arrived: sim:player"};
        EXPECT_TRUE(QTest::qWaitFor([&] { return diagnostics == logged; }, 1000));
    };
    app.InitInstance();
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join('\n').toStdString();
}

TEST_F(HotPlug, APlayerBackUnderItsOldPathBeforeAnyoneLookedIsStillReopened)
{
    ui.mainWindow = [&](CPlayerApp& running) {
        listen(running);
        // Out and in again between two looks: the list is the same, but the kernel said the node went.
        player->unplug();
        player->replug();
        running.OnDevicesChanged({SimulatedPlayer::kPlayerPath});
        EXPECT_EQ(ui.deviceChanges, (std::vector<bool>{false, true}));
        EXPECT_FALSE(deviceText(running).empty());
    };
    app.InitInstance();
}

TEST_F(HotPlug, ANodeNotYetGivenToTheUserIsTriedAgainAndStartWithoutAPlayerSaysHowToConnectOne)
{
    player->setPresent(false);
    app.SetWatcher(std::make_unique<PollingDeviceWatcher>(*app.Backend(), 20ms));
    ui.mainWindow = [&](CPlayerApp& running) {
        // The node appears before udev has set its permissions, which comes a moment later.
        player->setOpenFails(true, EACCES);
        player->setPresent(true);
        QTest::qWait(300);
        EXPECT_TRUE(ui.deviceChanges.empty());
        player->setOpenFails(false);
        EXPECT_TRUE(changesAre({true}));
        EXPECT_EQ(running.m_nDeviceState, 1);
    };
    app.InitInstance();
    // The one message of the start; the arrival shows none.
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(
        ui.messages[0].startsWith("Unable to open VxD, Error code: 103\n\nNessun lettore Zoffino USB"));
}

} // namespace
