#include "VirtualPlayerFixture.h"

#include "device/Protocol.h"
#include "download/TrackSlot.h"

#include <array>

// A player that drops off the bus, hangs, or comes back, on both transports.
namespace {

using namespace std::chrono_literals;

using VirtualPlayerFaultTest = VirtualPlayerFixture;

TEST_P(VirtualPlayerFaultTest, UnpluggedMidDownloadItFailsAtOnceAndNothingMoreIsSent)
{
    startPlayer({"--unplug-after", "50"});
    useHidapi();
    ASSERT_EQ(app.OpenDevice(), 0);
    listenAsDiagnostics();
    std::optional<Clock::time_point> told;
    ui.onMessage = [&told](const QString&) {
        told = Clock::now();
    };

    const TrackSlot slot = *TrackSlot::forTrack(3, 0);
    const Bytes samples = WavBuilder::samples(20000);
    ASSERT_EQ(app.DownloadTrack(wavFile(samples), QStringLiteral("Staccato"), slot.start, slot.length,
                                DeviceConfig{0, 3, 60}),
              LoadResult::DeviceFailed);
    const auto unplugged = player->waitForLine("unplugged", 1, 1s);
    ASSERT_TRUE(unplugged && told);
    EXPECT_LT(*told - *unplugged, 1s);
    // The two header blocks and 48 of samples were acknowledged; the 49th sample block is the lost one.
    EXPECT_EQ(ui.messages,
              QStringList{QStringLiteral(
                  "Download del brano non riuscito: il lettore non ha risposto (blocco "
                  "all'indirizzo 0x00C80).\nSono arrivati al lettore 3072 byte del brano su 19968.")});

    // Whether the kernel took the rest of that block before the player was gone or refused it, the block
    // was the last thing the program tried to send.
    std::vector<Bytes> sent;
    for (const UiMessage& m : drainDiagnostics()) {
        if (m.message == WM_DIAG_WRITE && m.lParam == 0) {
            sent.emplace_back(m.bytes.begin(), m.bytes.begin() + 6);
        }
    }
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), (Bytes{2, Protocol::CMD_COMMIT_BLOCK, 0x80, 0x0C, 0x00, 0}));
    const Bytes flash = imageBytes();
    ASSERT_EQ(flash.size(), Protocol::kMemorySize);
    EXPECT_TRUE(std::equal(flash.begin() + 0xC40, flash.begin() + 0xC80, samples.begin() + 47L * 64))
        << "the last acknowledged block is stored";
    EXPECT_EQ(Bytes(flash.begin() + 0xC80, flash.begin() + 0xCC0), Bytes(64, 0xFF)) << "the lost one is not";

    const auto closing = Clock::now();
    app.CloseDevice();
    EXPECT_LT(Clock::now() - closing, 1s);
}

TEST_P(VirtualPlayerFaultTest, AHungPlayerFailsTheDownloadAtOnceAndHoldsNoCommandForLong)
{
    startPlayer({"--hang-after", "50"});
    useHidapi();
    ASSERT_EQ(app.OpenDevice(), 0);
    const TrackSlot slot = *TrackSlot::forTrack(3, 0);
    ASSERT_EQ(app.DownloadTrack(wavFile(WavBuilder::samples(20000)), QStringLiteral("Appeso"), slot.start,
                                slot.length, DeviceConfig{0, 3, 60}),
              LoadResult::DeviceFailed);
    const auto failed = Clock::now();
    const auto hung = player->waitForLine("hung", 1, 1s);
    ASSERT_TRUE(hung);
    EXPECT_LT(failed - *hung, 1s);
    EXPECT_EQ(ui.messages,
              QStringList{QStringLiteral(
                  "Download del brano non riuscito: il lettore non ha risposto (blocco "
                  "all'indirizzo 0x00C80).\nSono arrivati al lettore 3072 byte del brano su 19968.")});

    // Through uhid the kernel takes every report whether or not the player reads it. A USB player that
    // takes none leaves the host's reports in its endpoint's few buffers; once they are full a write waits
    // for the kernel's limit of 5 s, fails, and the link stops writing. Either way each command ends.
    listenAsMainWindow();
    std::array<std::uint8_t, 256> buffer{};
    for (int query = 0; query < 3; ++query) {
        const auto asked = Clock::now();
        EXPECT_EQ(app.QueryDeviceText(Protocol::CMD_GET_TEXT, buffer, 0, 0),
                  ReportProtocol::TextQuery::TimedOut);
        EXPECT_LT(Clock::now() - asked, 6s) << "query " << query;
    }
    const auto closing = Clock::now();
    app.CloseDevice();
    EXPECT_LT(Clock::now() - closing, 1s);
}

TEST_P(VirtualPlayerFaultTest, APlayerThatComesBackIsFoundAgain)
{
    startPlayer({"--unplug-after", "0", "--replug-after", "3000"});
    useHidapi();
    ASSERT_EQ(app.OpenDevice(), 0);
    listenAsMainWindow();
    std::array<std::uint8_t, 256> buffer{};
    // The first report the player sees takes it off the bus: no answer comes.
    EXPECT_EQ(app.QueryDeviceText(Protocol::CMD_GET_TEXT, buffer, 0, 0), ReportProtocol::TextQuery::TimedOut);
    ASSERT_TRUE(player->waitForLine("unplugged", 1, 2s));
    EXPECT_EQ(app.OpenDevice(), -1);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].startsWith("Unable to open VxD, Error code: 103\n\n"))
        << qPrintable(ui.messages[0]);

    node = waitForNode(2);
    ui.messages.clear();
    ASSERT_EQ(app.OpenDevice(), 0) << qPrintable(ui.messages.join('\n'));
    EXPECT_EQ(app.Link().devicePath(), node);
    ASSERT_EQ(app.QueryDeviceText(Protocol::CMD_GET_TEXT, buffer, 0, 0), ReportProtocol::TextQuery::Done);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data())),
              "Zoffino USB - lettore simulato, 1 MiB");
}

ZOFFINO_ON_EACH_TRANSPORT(VirtualPlayerFaultTest);

} // namespace
