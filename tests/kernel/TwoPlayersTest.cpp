#include "ChildProcess.h"
#include "PlayerSystem.h"

#include "device/PlayerClaim.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

// Two players on a real kernel, and the command-line tool run as its user runs it: two uhid devices, and two
// USB gadgets on two device controllers (dummy_hcd num=2). Needs root, uhid and the controllers:
// scripts/test-kernel runs it in a virtual machine.
namespace {

using namespace std::chrono_literals;

// Starting a program in an emulated machine over a shared folder takes seconds, not milliseconds.
constexpr auto kTimeout = 30s;

class TwoPlayersTest : public ::testing::TestWithParam<std::string>
{
protected:
    void SetUp() override
    {
        if (GetParam() == "gadget" && usbDeviceControllers().size() < 2) {
            GTEST_SKIP()
                << "fewer than two USB device controllers (modprobe dummy_hcd is_high_speed=0 num=2)";
        }
    }

    struct Player
    {
        std::optional<ChildProcess> process;
        std::string node;
    };

    // Starts zoffino-uhid-player on an image of its own and waits for its hidraw node.
    void start(Player& player, const std::string& name, std::vector<std::string> options)
    {
        const std::string ready = dir.filePath(QString::fromStdString(name + ".ready")).toStdString();
        options.insert(options.end(), {"--transport", GetParam(), "--image",
                                       dir.filePath(QString::fromStdString(name + ".img")).toStdString(),
                                       "--ready-file", ready});
        player.process.emplace(ZOFFINO_UHID_PLAYER, options);
        ASSERT_TRUE(player.process->waitForLine("ready", 1, kTimeout)) << player.process->errors();
        std::getline(std::ifstream(ready), player.node);
        ASSERT_TRUE(player.node.starts_with("/dev/hidraw")) << player.node;
    }

    void TearDown() override
    {
        for (Player* player : {&first, &second}) {
            if (player->process) {
                EXPECT_EQ(player->process->stop(5s), 0) << player->process->errors();
            }
        }
    }

    QTemporaryDir dir;
    Player first;
    Player second;
};

TEST_P(TwoPlayersTest, ListShowsBothDeviceTakesTheSecondAndOneBeingLoadedIsLeftAlone)
{
    // None yet: said as for every command with no player.
    {
        ChildProcess none(ZOFFINO_TOOL, {"list"});
        EXPECT_EQ(none.waitForExit(kTimeout), 3);
        EXPECT_TRUE(none.errors().starts_with("Nessun lettore Zoffino USB")) << none.errors();
    }

    start(first, "primo", {"--text", "Lettore primo", "--serial", "ZU-0001"});
    start(second, "secondo", {"--text", "Lettore secondo", "--serial", "ZU-0002"});
    ASSERT_NE(first.node, second.node);

    ChildProcess list(ZOFFINO_TOOL, {"list"});
    EXPECT_TRUE(list.waitForLine(first.node + "  Lettore primo  numero di serie ZU-0001", 1, kTimeout))
        << list.errors();
    EXPECT_TRUE(list.waitForLine(second.node + "  Lettore secondo  numero di serie ZU-0002", 1, kTimeout))
        << list.errors();
    EXPECT_EQ(list.waitForExit(kTimeout), 0) << list.errors();

    ChildProcess info(ZOFFINO_TOOL, {"--device", second.node, "info"});
    EXPECT_TRUE(info.waitForLine("Lettore: Lettore secondo", 1, kTimeout)) << info.errors();
    EXPECT_EQ(info.waitForExit(kTimeout), 0) << info.errors();

    // While another program loads tracks into the first (the lock on its node held here), that one is
    // listed unasked, and a command for it is refused saying why.
    const PlayerClaim loading(first.node);
    ASSERT_TRUE(loading.granted());
    ChildProcess busyList(ZOFFINO_TOOL, {"list"});
    EXPECT_TRUE(busyList.waitForLine(
        first.node + "  (occupato: un altro programma vi sta caricando dei brani)  numero di serie ZU-0001",
        1, kTimeout))
        << busyList.errors();
    EXPECT_EQ(busyList.waitForExit(kTimeout), 0) << busyList.errors();
    ChildProcess play(ZOFFINO_TOOL, {"--device", first.node, "play", "1"});
    EXPECT_EQ(play.waitForExit(kTimeout), 1);
    EXPECT_TRUE(play.errors().starts_with("Il lettore " + first.node + " è occupato")) << play.errors();
}

ZOFFINO_ON_EACH_TRANSPORT(TwoPlayersTest);

} // namespace
