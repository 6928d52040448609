#include "LinkFixture.h"

#include "device/Protocol.h"
#include "device/ReportProtocol.h"

#include <cstring>

namespace {

using namespace std::chrono_literals;

// A WM_DEVICE_REPORT as the reader posts it for a report of this type and payload.
UiMessage reply(std::uint8_t type, std::vector<std::uint8_t> payload)
{
    payload.resize(kReportRecordSize, 0);
    return {.message = WM_DEVICE_REPORT, .wParam = type, .bytes = std::move(payload)};
}

std::string textOf(const std::array<std::uint8_t, 256>& buffer)
{
    const auto* text = reinterpret_cast<const char*>(buffer.data());
    return std::string(text, strnlen(text, buffer.size()));
}

class ReportProtocolTest : public LinkFixture
{
protected:
    // The link is closed, as after the player went away, and keeps the player's report lengths; replies
    // are posted by the test itself.
    void noPlayer()
    {
        useSimulatedPlayer();
        ASSERT_EQ(app.OpenDevice(), 0);
        app.CloseDevice();
    }
};

TEST_F(ReportProtocolTest, ReadsTheDeviceTextAcrossReplies)
{
    FaultInjectingPlayer& player = useSimulatedPlayer();
    const std::string longText(150, 'z');
    player.setText(longText);
    ASSERT_EQ(app.OpenDevice(), 0);
    listenAsMainWindow();

    std::array<std::uint8_t, 256> buffer{};
    EXPECT_EQ(app.QueryDeviceText(Protocol::CMD_GET_TEXT, buffer, 0, 0), ReportProtocol::TextQuery::Done);
    EXPECT_EQ(textOf(buffer), longText);

    player.setTextUnterminated(true);
    buffer.fill(0);
    EXPECT_EQ(app.QueryDeviceText(Protocol::CMD_GET_TEXT, buffer, 0, 0), ReportProtocol::TextQuery::TooLong);
    EXPECT_EQ(std::count(buffer.begin(), buffer.end(), 0), 256 - 248) << "four chunks of 62 bytes were kept";
}

TEST_F(ReportProtocolTest, QueriesWithoutAPlayerTimeOut)
{
    noPlayer();
    std::array<std::uint8_t, 256> buffer{};
    auto start = Clock::now();
    EXPECT_EQ(app.QueryDevice(Protocol::CMD_GET_CONFIG, 0, 0, buffer), std::nullopt);
    EXPECT_GE(Clock::now() - start, ReportProtocol::kReplyTimeout);
    start = Clock::now();
    EXPECT_EQ(app.QueryDeviceText(Protocol::CMD_GET_TEXT, buffer, 0, 0), ReportProtocol::TextQuery::TimedOut);
    EXPECT_GE(Clock::now() - start, ReportProtocol::kReplyTimeout);
    std::array<std::uint8_t, 64> block{};
    EXPECT_FALSE(app.WriteMemoryBlock(0, block));
}

TEST_F(ReportProtocolTest, AQueryTakesAQueuedReplyAndFreesRepliesOfOtherTypes)
{
    noPlayer();
    app.Messages().post(reply(Protocol::REPORT_STATUS, {9, 9, 9, 9}));
    app.Messages().post({.message = WM_DEVICE_BUSY, .wParam = 1});
    std::vector<std::uint8_t> config(kReportRecordSize, 0x5A);
    config[0] = 0x01;
    config[1] = 0x02;
    config[2] = 0x03;
    config[3] = 0x84;
    config[6] = 7;
    app.Messages().post(reply(Protocol::REPLY_CONFIG, config));
    app.Messages().post(reply(Protocol::REPLY_CONFIG, {0x11}));

    std::array<std::uint8_t, 256> buffer{};
    const auto start = Clock::now();
    EXPECT_EQ(app.QueryDevice(Protocol::CMD_GET_CONFIG, 0, 0, buffer), 0x84030201u);
    EXPECT_LT(Clock::now() - start, ReportProtocol::kReplyTimeout);
    EXPECT_EQ(buffer[6], 7);
    EXPECT_EQ(buffer[61], 0x5A);
    EXPECT_EQ(buffer[62], 0) << "a 64-byte report has 62 payload bytes";
    // The status reply was freed on the way; the busy message and the later reply stay.
    EXPECT_EQ(app.Messages().pendingCount(), 2u);
}

TEST_F(ReportProtocolTest, TextRepliesEndAtTheFirstChunkWithAZero)
{
    noPlayer();
    std::vector<std::uint8_t> chunk(62, 'a');
    chunk[61] = 0;
    app.Messages().post(reply(Protocol::REPLY_TEXT, chunk));
    app.Messages().post(reply(Protocol::REPLY_TEXT, std::vector<std::uint8_t>(62, 'b')));
    std::array<std::uint8_t, 256> buffer{};
    EXPECT_EQ(app.QueryDeviceText(Protocol::CMD_GET_TEXT, buffer, 0, 0), ReportProtocol::TextQuery::Done);
    EXPECT_EQ(textOf(buffer), std::string(61, 'a'));
    EXPECT_EQ(app.Messages().pendingCount(), 1u);
}

TEST_F(ReportProtocolTest, StartUpConfigurationIsTakenOrRepaired)
{
    struct Case
    {
        const char* what;
        std::array<std::uint8_t, 3> onPlayer;
        DeviceConfig expected;
        bool repaired;
    };
    const Case cases[] = {
        {"valid", {0x80, 0x12, 0x33}, {0x80, 0x12, 0x33}, false},
        {"never configured", {0xFF, 0xFF, 0xFF}, {0, 0, 60}, true},
        {"one slot, no default", {0x80, 0x00, 0x33}, {0, 0, 60}, true},
        {"Config3 zero", {0, 0x01, 0}, {0, 0, 60}, true},
        {"partition above 3", {0, 0x05, 0x33}, {0, 0, 60}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FaultInjectingPlayer& player = useSimulatedPlayer();
        player.setConfig(c.onPlayer[0], c.onPlayer[1], c.onPlayer[2]);
        ASSERT_EQ(app.OpenDevice(), 0);
        listenAsMainWindow();
        app.m_Config = {0, 0, 45};
        std::array<std::uint8_t, 256> buffer{};
        app.ReadDeviceConfig(buffer);
        EXPECT_EQ(app.m_Config, c.expected);
        const std::array<std::uint8_t, 3> expectedOnPlayer =
            c.repaired ? std::array<std::uint8_t, 3>{0, 0, 60} : c.onPlayer;
        EXPECT_EQ(player.config(), expectedOnPlayer);
        app.CloseDevice();
    }
}

TEST_F(ReportProtocolTest, AConfigurationReplyReadingZeroIsNoAnswer)
{
    noPlayer();
    app.m_Config = {0x80, 0x21, 0x50};
    app.Messages().post(reply(Protocol::REPLY_CONFIG, {0, 0, 0, 0, 0xFF, 0xFF, 0xFF}));
    std::array<std::uint8_t, 256> buffer{};
    app.ReadDeviceConfig(buffer);
    EXPECT_EQ(app.m_Config, (DeviceConfig{0x80, 0x21, 0x50}));
}

TEST_F(ReportProtocolTest, BlockWritesReachTheFlashWithTheSectorStartFlag)
{
    FaultInjectingPlayer& player = useSimulatedPlayer();
    ASSERT_EQ(app.OpenDevice(), 0);
    player.recordOutputReports(true);
    std::array<std::uint8_t, 64> block;
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<std::uint8_t>(i * 3);
    }
    EXPECT_TRUE(app.WriteMemoryBlock(0x30000, block));
    EXPECT_TRUE(app.WriteMemoryBlock(0x30040, block));
    // Bits above 23 are not sent: this lands at 0x230000.
    EXPECT_TRUE(app.WriteMemoryBlock(0x01230000, block));

    const auto reports = player.outputReports();
    ASSERT_EQ(reports.size(), 9u);
    EXPECT_EQ(reports[0][1], Protocol::CMD_LOAD_HALF);
    EXPECT_EQ(reports[0][2], block[0]);
    EXPECT_EQ(reports[1][2], block[32]);
    const std::vector<std::uint8_t> firstCommit(reports[2].begin(), reports[2].begin() + 6);
    EXPECT_EQ(firstCommit, (std::vector<std::uint8_t>{2, 5, 0x00, 0x00, 0x03, 1}));
    EXPECT_EQ(reports[5][5], 0) << "0x30040 is not a sector start";
    EXPECT_EQ(reports[8][4], 0x23);

    const std::vector<std::uint8_t> flash = player.flash();
    EXPECT_TRUE(std::equal(block.begin(), block.end(), flash.begin() + 0x30000));
    EXPECT_TRUE(std::equal(block.begin(), block.end(), flash.begin() + 0x30040));
}

TEST_F(ReportProtocolTest, AnyReportAfterTheCommitIsTheAcknowledgement)
{
    ScriptedHidBackend::State& device = useScriptedPlayer();
    // The player never acknowledges, but a status report follows the commit.
    device.onWrite = [](std::span<const std::uint8_t> report, ScriptedHidBackend::State& state) {
        if (report[1] == Protocol::CMD_COMMIT_BLOCK) {
            std::vector<std::uint8_t> status(64, 0);
            status[0] = 1;
            status[1] = Protocol::REPORT_STATUS;
            state.push(status);
        }
    };
    ASSERT_EQ(app.OpenDevice(), 0);
    std::array<std::uint8_t, 64> block{};
    EXPECT_TRUE(app.WriteMemoryBlock(0x100, block));

    device.onWrite = nullptr;
    const auto start = Clock::now();
    EXPECT_FALSE(app.WriteMemoryBlock(0x140, block));
    EXPECT_GE(Clock::now() - start, ReportProtocol::kAckTimeout);
}

TEST_F(ReportProtocolTest, AFailedWriteClosesTheHandleAndIsNeverAcknowledged)
{
    ScriptedHidBackend::State& device = useScriptedPlayer();
    ASSERT_EQ(app.OpenDevice(), 0);
    listenAsDiagnostics();
    device.writesFail = true;
    device.failureText = "No such device";
    // A report arriving anyway must not pass for the acknowledgement of a block that was not sent.
    device.onWrite = [](std::span<const std::uint8_t> report, ScriptedHidBackend::State& state) {
        if (report[1] == Protocol::CMD_COMMIT_BLOCK) {
            state.push(std::vector<std::uint8_t>(64, 1));
        }
    };
    std::array<std::uint8_t, 64> block{};
    const auto start = Clock::now();
    EXPECT_FALSE(app.WriteMemoryBlock(0, block));
    EXPECT_LT(Clock::now() - start, ReportProtocol::kAckTimeout);
    EXPECT_FALSE(app.Link().canWrite());

    std::vector<std::string> texts;
    std::size_t dumps = 0;
    for (const UiMessage& m : drainDiagnostics()) {
        if (m.message == WM_DIAG_WRITE && m.lParam == 1) {
            texts.push_back(m.text);
        } else if (m.message == WM_DIAG_WRITE) {
            ++dumps;
            EXPECT_EQ(m.bytes.size(), 64u);
        }
    }
    EXPECT_EQ(dumps, 3u);
    // The system's reason comes with the failure that closed the handle; later writes find it closed.
    EXPECT_EQ(texts, (std::vector<std::string>{"Can't write to device", "No such device", "Bytes Written: 0",
                                               "Can't write to device", "Bytes Written: 0",
                                               "Can't write to device", "Bytes Written: 0"}));
}

TEST_F(ReportProtocolTest, WritesAreShownOnlyWhileTheDiagnosticsAreOpen)
{
    useSimulatedPlayer();
    ASSERT_EQ(app.OpenDevice(), 0);
    app.SendCommand(0x77, 4, 0, 0, 15);
    EXPECT_FALSE(app.Messages().hasPending());

    listenAsDiagnostics();
    app.SendCommand(0x1FF, 0x104, 2, 3, 15);
    const std::vector<UiMessage> diag = drainDiagnostics();
    ASSERT_EQ(diag.size(), 2u);
    const std::vector<std::uint8_t> head(diag[0].bytes.begin(), diag[0].bytes.begin() + 10);
    EXPECT_EQ(head, (std::vector<std::uint8_t>{2, 0xFF, 0x04, 2, 3, 15, 0, 0, 0, 0}));
    EXPECT_EQ(diag[1].text, "Bytes Written: 64");
}

TEST_F(ReportProtocolTest, PlayNamesTheTrackByFourTimesItsNumberAndStopSendsTheHeldConfiguration)
{
    FaultInjectingPlayer& player = useSimulatedPlayer();
    ASSERT_EQ(app.OpenDevice(), 0);
    player.recordOutputReports(true);
    struct Case
    {
        int mode, track;
        std::vector<std::uint8_t> report;
    };
    const Case cases[] = {
        {0, 0, {2, Protocol::CMD_PLAY, 0, 0, 0, 15}},
        {1, 1, {2, Protocol::CMD_PLAY, 4, 0, 0, 3}},
        {2, 3, {2, Protocol::CMD_PLAY, 12, 0, 0, 3}},
        {3, 7, {2, Protocol::CMD_PLAY, 28, 0, 0, 3}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(app.Play(c.track, c.mode), CPlayerApp::CommandResult::Sent);
    }
    app.m_Config = {0x80, 0x13, 60};
    EXPECT_EQ(app.Stop(), CPlayerApp::CommandResult::Sent);

    const auto reports = player.outputReports();
    ASSERT_EQ(reports.size(), std::size(cases) + 1);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(std::vector<std::uint8_t>(reports[i].begin(), reports[i].begin() + 6), cases[i].report)
            << "mode " << cases[i].mode << " track " << cases[i].track;
    }
    EXPECT_EQ(std::vector<std::uint8_t>(reports.back().begin(), reports.back().begin() + 6),
              (std::vector<std::uint8_t>{2, Protocol::CMD_SET_CONFIG, 0x80, 0x13, 60, 0}));
}

} // namespace
