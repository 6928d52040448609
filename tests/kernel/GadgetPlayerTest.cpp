#include "VirtualPlayerFixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

// The player as a USB gadget: what it leaves in configfs and how it shares the device controllers. These
// need root, configfs and a controller (dummy_hcd): scripts/test-kernel runs them in a virtual machine.
namespace {

using namespace std::chrono_literals;

class GadgetPlayerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (usbDeviceControllers().empty()) {
            GTEST_SKIP() << "no USB device controller (modprobe dummy_hcd is_high_speed=0)";
        }
        controller = usbDeviceControllers().front();
    }

    std::vector<std::string> arguments(const std::string& name, std::vector<std::string> more = {}) const
    {
        more.insert(more.begin(), {"--transport", "gadget", "--image",
                                   dir.filePath(QString::fromStdString(name + ".img")).toStdString()});
        return more;
    }

    QTemporaryDir dir;
    std::string controller;
};

TEST_F(GadgetPlayerTest, WithoutRootOrWithoutItsControllerItSaysWhyAndLeavesNothing)
{
    ChildProcess stranger(kPlayerProgram, arguments("stranger"), kNobody);
    EXPECT_EQ(stranger.waitForExit(kStartTimeout), 1);
    EXPECT_TRUE(stranger.errors().starts_with("zoffino-uhid-player: No permission to make a USB gadget"))
        << stranger.errors();

    ChildProcess lost(kPlayerProgram, arguments("lost", {"--udc", "nessuno.0"}));
    EXPECT_EQ(lost.waitForExit(kStartTimeout), 1);
    EXPECT_TRUE(lost.errors().starts_with("zoffino-uhid-player: There is no USB device controller nessuno.0"))
        << lost.errors();

    EXPECT_FALSE(exists(dir.filePath(QStringLiteral("stranger.img")).toStdString()));
    EXPECT_FALSE(exists(dir.filePath(QStringLiteral("lost.img")).toStdString()));
    EXPECT_EQ(playerGadgets(), std::vector<std::string>{});
}

TEST_F(GadgetPlayerTest, ASecondPlayerFindsTheControllerTakenAndRemovesWhatItMade)
{
    ChildProcess first(kPlayerProgram, arguments("first", {"--udc", controller}));
    ASSERT_TRUE(first.waitForLine("ready", 1, kStartTimeout)) << first.errors();
    const std::vector<std::string> firstGadget = playerGadgets();
    ASSERT_EQ(firstGadget.size(), 1u);

    ChildProcess second(kPlayerProgram, arguments("second", {"--udc", controller}));
    EXPECT_EQ(second.waitForExit(kStartTimeout), 1);
    EXPECT_NE(second.errors().find("is taken by another gadget"), std::string::npos) << second.errors();
    EXPECT_EQ(playerGadgets(), firstGadget);

    EXPECT_EQ(first.stop(5s), 0) << first.errors();
    EXPECT_EQ(playerGadgets(), std::vector<std::string>{});
}

TEST_F(GadgetPlayerTest, AKilledPlayersGadgetIsRemovedByTheNextSoItsControllerIsFreeAgain)
{
    std::optional<ChildProcess> killed;
    killed.emplace(kPlayerProgram, arguments("killed", {"--udc", controller}));
    ASSERT_TRUE(killed->waitForLine("ready", 1, kStartTimeout)) << killed->errors();
    // SIGKILL: no chance to unbind or remove anything.
    killed.reset();
    const std::vector<std::string> left = playerGadgets();
    ASSERT_EQ(left.size(), 1u);

    ChildProcess next(kPlayerProgram, arguments("next", {"--udc", controller}));
    ASSERT_TRUE(next.waitForLine("ready", 1, kStartTimeout)) << next.errors();
    const std::vector<std::string> now = playerGadgets();
    ASSERT_EQ(now.size(), 1u);
    EXPECT_NE(now, left);
    EXPECT_EQ(next.stop(5s), 0) << next.errors();
    EXPECT_EQ(playerGadgets(), std::vector<std::string>{});
}

} // namespace
