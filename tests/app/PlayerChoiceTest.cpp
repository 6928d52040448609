#include "app/CPlayerApp.h"
#include "device/PlayerClaim.h"
#include "device/PollingDeviceWatcher.h"

#include "PlayerRack.h"
#include "RecordingUi.h"
#include "WavBuilder.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// Two players on the machine, "sim:1" and "sim:2" (the second with a serial number), that say who they are.
class PlayerChoice : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        app.SetBackend(PlayerRack::twoPlayers(first, second));
        app.SetUi(&ui);
    }
    void TearDown() override
    {
        app.SetUi(nullptr);
        app.SetWatcher(nullptr);
    }

    std::string inUse() { return app.Link().openPath(); }

    RecordingUi ui;
    CPlayerApp app;
    FaultInjectingPlayer* first = nullptr;
    FaultInjectingPlayer* second = nullptr;
};

TEST_F(PlayerChoice, EveryPlayerIsListedWithItsTextAndTheOneNamedIsUsedUntouchedByTheList)
{
    std::vector<CPlayerApp::PlayerEntry> players = app.Players();
    ASSERT_EQ(players.size(), 2u);
    EXPECT_EQ(players[0].path, "sim:1");
    EXPECT_EQ(CPlayerApp::PlayerText(players[0]), "Lettore primo");
    EXPECT_EQ(players[0].serial, "");
    EXPECT_EQ(players[1].path, "sim:2");
    EXPECT_EQ(CPlayerApp::PlayerText(players[1]), "Lettore secondo");
    EXPECT_EQ(players[1].serial, "ZU-0002");
    EXPECT_FALSE(players[0].inUse || players[1].inUse);

    // Without a name, the first.
    ASSERT_EQ(app.OpenDevice(), 0);
    EXPECT_EQ(inUse(), "sim:1");

    app.SetDevicePath(QStringLiteral("sim:2"));
    ASSERT_EQ(app.OpenDevice(), 0);
    EXPECT_EQ(inUse(), "sim:2");
    // Asking the other player leaves the one in use open and answering, and asks it nothing it sees.
    second->recordOutputReports(true);
    players = app.Players();
    ASSERT_EQ(players.size(), 2u);
    EXPECT_FALSE(players[0].inUse);
    EXPECT_EQ(CPlayerApp::PlayerText(players[0]), "Lettore primo");
    EXPECT_TRUE(players[1].inUse);
    EXPECT_EQ(second->outputReports().size(), 1u) << "the one question of its text";
    EXPECT_EQ(inUse(), "sim:2");
    EXPECT_EQ(app.DeviceText(), QStringLiteral("Lettore secondo"));

    // One that does not answer is listed all the same.
    first->setAckEnabled(false);
    first->setTextUnterminated(true);
    players = app.Players();
    EXPECT_EQ(CPlayerApp::PlayerText(players[0]), "(non risponde)");
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join('\n').toStdString();
}

TEST_F(PlayerChoice, ANameThatIsNoPlayersIsRefusedSayingWhatIsThereAndWhatToDo)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    const struct
    {
        QString path;
        QString first;
    } refused[] = {
        {QStringLiteral("/nessuna/cartella/hidraw9"),
         QStringLiteral("--device /nessuna/cartella/hidraw9: non esiste.")},
        {file.fileName(), "--device " + file.fileName() + ": non è un lettore Zoffino USB."},
        // Another device's interface is there, but is no player.
        {QStringLiteral("sim:keyboard"),
         QStringLiteral("--device sim:keyboard: non è un lettore Zoffino USB.")},
    };
    for (const auto& [path, first] : refused) {
        SCOPED_TRACE(path.toStdString());
        ui.messages.clear();
        app.SetDevicePath(path);
        EXPECT_EQ(app.OpenDevice(), -1);
        EXPECT_EQ(app.m_nDeviceState, -1);
        EXPECT_FALSE(app.Link().canWrite());
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0], first + "\nLettori collegati: sim:1, sim:2. Indicarne uno con --device, o "
                                          "togliere --device per usare il primo.");
    }
}

TEST_F(PlayerChoice, APlayerThatLeavesWhileAnotherStaysLeavesNoneInUseUntilTheUserChoosesOne)
{
    second->setPresent(false);
    app.SetWatcher(std::make_unique<PollingDeviceWatcher>(*app.Backend(), 20ms));
    ui.mainWindow = [&](CPlayerApp& running) {
        ASSERT_EQ(inUse(), "sim:1");

        // Plugged in beside the one in use: listed, nothing more.
        second->setPresent(true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return running.Players().size() == 2; }, 1000));
        QTest::qWait(100);
        EXPECT_TRUE(ui.deviceChanges.empty());
        EXPECT_EQ(inUse(), "sim:1");

        // The one in use goes: none is used, the other one stays where it is.
        first->unplug();
        ASSERT_TRUE(QTest::qWaitFor([&] { return ui.deviceChanges == std::vector<bool>{false}; }, 1000));
        QTest::qWait(100);
        EXPECT_EQ(ui.deviceChanges, std::vector<bool>{false});
        EXPECT_EQ(running.m_nDeviceState, -1);

        // Chosen, it is used.
        EXPECT_TRUE(running.UsePlayer("sim:2"));
        EXPECT_EQ(ui.deviceChanges, (std::vector<bool>{false, true}));
        EXPECT_EQ(inUse(), "sim:2");
        EXPECT_EQ(running.DeviceText(), QStringLiteral("Lettore secondo"));

        // The first back in: the chosen one stays.
        first->replug();
        QTest::qWait(100);
        EXPECT_EQ(ui.deviceChanges, (std::vector<bool>{false, true}));
        EXPECT_EQ(inUse(), "sim:2");
    };
    app.InitInstance();
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join('\n').toStdString();
}

// Another program loading tracks into a player holds a lock on its node. Here a file stands for the node, and
// a claim of the test's own for the other program.
TEST_F(PlayerChoice, APlayerAnotherProgramIsLoadingIsNeitherAskedNorSentAnythingUntilItIsDone)
{
    const QTemporaryDir dir;
    const QString node = dir.filePath(QStringLiteral("hidraw7"));
    ASSERT_TRUE(QFile(node).open(QIODevice::WriteOnly));
    const QString wav = dir.filePath(QStringLiteral("Sigla.wav"));
    ASSERT_TRUE(WavBuilder::deviceFormat().data(WavBuilder::samples(2205)).writeTo(wav));
    auto owned = std::make_unique<PlayerRack>();
    FaultInjectingPlayer& player = owned->add(node.toStdString());
    player.setText("Lettore occupato");
    app.SetBackend(std::move(owned));
    ASSERT_EQ(app.OpenDevice(), 0);
    const DeviceConfig controls = app.m_Config;

    std::optional<PlayerClaim> other(std::in_place, node.toStdString());
    ASSERT_TRUE(other->granted());
    player.recordOutputReports(true);
    EXPECT_EQ(app.LoadFile(wav, 0, controls.partitionMode(), controls), LoadResult::Busy);
    EXPECT_EQ(app.LoadFiles({wav, wav}, 0, controls.partitionMode(), false, controls).ended,
              LoadResult::Busy);
    EXPECT_EQ(app.Play(0, controls.partitionMode()), CPlayerApp::CommandResult::PlayerTaken);
    EXPECT_EQ(app.Stop(), CPlayerApp::CommandResult::PlayerTaken);
    const std::vector<CPlayerApp::PlayerEntry> players = app.Players();
    ASSERT_EQ(players.size(), 1u);
    EXPECT_TRUE(players[0].taken && players[0].inUse);
    EXPECT_EQ(CPlayerApp::PlayerText(players[0]),
              "(occupato: un altro programma vi sta caricando dei brani)");
    EXPECT_TRUE(player.outputReports().empty());
    // Read at start while that program writes a block, its configuration may not come in time: it is left
    // as it is.
    player.setAckEnabled(false);
    std::array<std::uint8_t, 256> buffer{};
    app.ReadDeviceConfig(buffer);
    EXPECT_EQ(player.outputReports().size(), 1u) << "only the question";
    player.setAckEnabled(true);
    ASSERT_EQ(ui.messages.size(), 4);
    EXPECT_EQ(ui.messages[0],
              QStringLiteral("Il lettore %1 è occupato: un altro programma vi sta caricando dei "
                             "brani.\nRiprovare quando avrà finito.")
                  .arg(node));
    EXPECT_EQ(ui.messages.count(ui.messages[0]), 4);

    // That download over, this program's holds the player in turn, until its last block.
    other.reset();
    // Slow enough for the download to hand out the events a few times.
    player.setAckDelay(std::chrono::microseconds(1000));
    bool heldMeanwhile = false;
    ui.onEvents = [&] {
        heldMeanwhile = heldMeanwhile || !PlayerClaim(node.toStdString()).granted();
    };
    EXPECT_EQ(app.LoadFile(wav, 0, controls.partitionMode(), controls), LoadResult::Done);
    EXPECT_TRUE(heldMeanwhile);
    EXPECT_FALSE(PlayerClaim::taken(node.toStdString()));
    EXPECT_EQ(app.Play(0, controls.partitionMode()), CPlayerApp::CommandResult::Sent);
}

} // namespace
