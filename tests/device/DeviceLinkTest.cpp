#include "LinkFixture.h"

#include "device/Protocol.h"
#include "device/ReportProtocol.h"

#include <cerrno>
#include <system_error>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::vector<std::uint8_t> inputReport(std::uint8_t id, std::uint8_t type, std::uint8_t byte8 = 0)
{
    std::vector<std::uint8_t> report(64, 0);
    report[0] = id;
    report[1] = type;
    report[8] = byte8;
    return report;
}

class DeviceLinkTest : public LinkFixture
{};

TEST_F(DeviceLinkTest, OpensThePlayerAmongOtherInterfacesAndClosesPromptly)
{
    useSimulatedPlayer();
    EXPECT_EQ(app.OpenDevice(), 0);
    EXPECT_EQ(app.m_nDeviceState, 1);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(app.Link().caps().input, 64);
    EXPECT_EQ(app.Link().caps().output, 64);
    EXPECT_EQ(app.Link().devicePath(), SimulatedPlayer::kPlayerPath);
    EXPECT_TRUE(app.Link().readerRunning());

    // The player sends nothing on its own: the reader sits in reads that time out.
    const auto start = Clock::now();
    app.CloseDevice();
    EXPECT_LT(Clock::now() - start, 1000ms);
    EXPECT_FALSE(app.Link().readerRunning());
    EXPECT_FALSE(app.Link().canWrite());
}

TEST_F(DeviceLinkTest, FailureTextsWhenNoUsablePlayerIsFound)
{
    struct Case
    {
        const char* what;
        std::function<void(FaultInjectingPlayer&)> arrange;
        QString deviceMessage;
        // What the Italian advice after it says; nothing follows a refused report length.
        QString advice;
    };
    const Case cases[] = {
        {"no player", [](FaultInjectingPlayer& p) { p.setPresent(false); },
         "Unable to open VxD, Error code: 103", "Nessun lettore Zoffino USB è collegato. Collegarlo"},
        {"no permission", [](FaultInjectingPlayer& p) { p.setOpenFails(true, EACCES); },
         "Unable to open VxD, Error code: d", "non ha il permesso di usarlo"},
        {"open refused", [](FaultInjectingPlayer& p) { p.setOpenFails(true, EBUSY); },
         "Unable to open VxD, Error code: 10", "non si è potuto aprire (Device or resource busy)"},
        {"reports longer than 64 bytes", [](FaultInjectingPlayer& p) { p.setReportLength(65, 65); },
         "Unable to open VxD, device does not support DeviceIOCTL", ""},
        {"output reports too short for half a block",
         [](FaultInjectingPlayer& p) { p.setReportLength(64, 33); },
         "Unable to open VxD, device does not support DeviceIOCTL", ""},
        {"input reports too short for the playing flag",
         [](FaultInjectingPlayer& p) { p.setReportLength(8, 64); },
         "Unable to open VxD, device does not support DeviceIOCTL", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.messages.clear();
        c.arrange(useSimulatedPlayer());
        EXPECT_EQ(app.OpenDevice(), -1);
        EXPECT_EQ(app.m_nDeviceState, -1);
        ASSERT_EQ(ui.messages.size(), 1);
        const QStringList parts = ui.messages[0].split(QStringLiteral("\n\n"));
        EXPECT_EQ(parts[0], c.deviceMessage) << "the device's own message comes first, unchanged";
        if (c.advice.isEmpty()) {
            EXPECT_EQ(parts.size(), 1);
        } else {
            EXPECT_TRUE(ui.messages[0].contains(c.advice)) << ui.messages[0].toStdString();
        }
        EXPECT_FALSE(app.Link().readerRunning());
        app.CloseDevice();
    }
    // The shortest reports that carry the protocol are taken.
    useSimulatedPlayer().setReportLength(9, 34);
    EXPECT_EQ(app.OpenDevice(), 0);
}

TEST_F(DeviceLinkTest, ForwardsPlayerReportsToTheMainWindowFramedByBusyMessages)
{
    FaultInjectingPlayer& player = useSimulatedPlayer();
    ASSERT_EQ(app.OpenDevice(), 0);
    listenAsMainWindow();
    listenAsDiagnostics();

    // Another report ID reaches the diagnostics only, and its "playing flag" means nothing.
    player.injectInputReport(inputReport(2, Protocol::REPORT_STATUS, 5));
    player.injectInputReport(inputReport(1, Protocol::REPORT_STATUS, 7));

    const std::vector<UiMessage> diag = drainDiagnostics();
    const std::vector<UiMessage>& main = mainWindowMessages;

    ASSERT_EQ(diag.size(), 2u);
    EXPECT_EQ(diag[0].message, WM_DIAG_READ);
    EXPECT_EQ(diag[0].lParam, 64);
    EXPECT_EQ(diag[0].bytes[0], 2);
    EXPECT_EQ(diag[1].bytes[0], 1);

    ASSERT_EQ(main.size(), 4u);
    EXPECT_EQ(main[0].message, WM_DEVICE_BUSY);
    EXPECT_EQ(main[0].wParam, 0u);
    EXPECT_EQ(main[1].message, WM_DEVICE_REPORT);
    EXPECT_EQ(main[1].wParam, Protocol::REPORT_STATUS);
    ASSERT_EQ(main[1].bytes.size(), kReportRecordSize);
    EXPECT_EQ(main[1].bytes[6], 7) << "record byte k is report byte k + 2";
    EXPECT_EQ(main[2].message, WM_DEVICE_BUSY);
    EXPECT_EQ(main[2].wParam, 1u);
    EXPECT_EQ(main[3].message, WM_PLAY_STATE);
    EXPECT_EQ(main[3].wParam, 7u);
    EXPECT_EQ(app.m_bPlaying, 7);
}

TEST_F(DeviceLinkTest, WithoutAWindowAReportGoesOnlyToAQueryThatWaits)
{
    FaultInjectingPlayer& player = useSimulatedPlayer();
    ASSERT_EQ(app.OpenDevice(), 0);
    listenAsDiagnostics();
    player.injectInputReport(inputReport(1, Protocol::REPORT_STATUS, 1));
    // Once the reader has shown the next report, it is done with the first.
    player.injectInputReport(inputReport(3, 0));
    ASSERT_TRUE(next(WM_DIAG_READ));
    ASSERT_TRUE(next(WM_DIAG_READ));
    EXPECT_EQ(app.m_bPlaying, 1);
    EXPECT_FALSE(app.Messages().hasPending()) << "nobody waited: nothing was built";

    // While a query waits, the report is its to take.
    {
        const DeviceLink::ReplyWait wait(app.Link());
        player.injectInputReport(inputReport(1, Protocol::REPORT_STATUS, 0));
        ASSERT_TRUE(next(WM_DIAG_READ));
        EXPECT_TRUE(
            app.Messages().take(WM_DEVICE_REPORT, UiMessageQueue::Clock::now() + std::chrono::seconds(2)));
    }
}

TEST_F(DeviceLinkTest, AShortReadShowsItsOwnCountButAWholeReportsBytes)
{
    FaultInjectingPlayer& player = useSimulatedPlayer();
    ASSERT_EQ(app.OpenDevice(), 0);
    listenAsDiagnostics();
    player.injectInputReport({1, 9, 0xAA, 0xBB});
    const std::vector<UiMessage> diag = drainDiagnostics();
    ASSERT_EQ(diag.size(), 1u);
    EXPECT_EQ(diag[0].lParam, 4);
    EXPECT_EQ(diag[0].bytes.size(), 64u);
    EXPECT_EQ(diag[0].bytes[3], 0xBB);
}

TEST_F(DeviceLinkTest, AFailingReaderSaysSoOnceAndBacksOffUntilClosed)
{
    ScriptedHidBackend::State& device = useScriptedPlayer();
    ASSERT_EQ(app.OpenDevice(), 0);
    listenAsDiagnostics();
    {
        std::lock_guard lock(device.mutex);
        device.readsFail = true;
        device.failureText = "Input/output error";
    }
    device.arrived.notify_all();

    // Several back-off periods long: a reader that spun or repeated itself would have said it many times.
    const std::vector<UiMessage> diag = drainDiagnostics(4 * DeviceLink::kFailedReadBackoff);
    ASSERT_EQ(diag.size(), 2u);
    EXPECT_EQ(diag[0].message, WM_DIAG_WRITE);
    EXPECT_EQ(diag[0].lParam, 1);
    EXPECT_EQ(diag[0].text, "Can't read from device");
    EXPECT_EQ(diag[1].text, "Input/output error") << "the system's reason follows";
    EXPECT_EQ(app.m_nDeviceState, 1) << "a read failure does not change the device state";

    const auto start = Clock::now();
    app.CloseDevice();
    EXPECT_LT(Clock::now() - start, 1000ms);
}

TEST_F(DeviceLinkTest, ReaderThreadProcWithoutALinkEndsAtOnce)
{
    EXPECT_EQ(DeviceLink::ReaderThreadProc(nullptr, {}), -1);
}

// A link whose reader thread cannot be started, as when the system has no thread left to give.
class ThreadlessLink : public DeviceLink
{
public:
    using DeviceLink::DeviceLink;

protected:
    std::jthread startReader() override
    {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
};

TEST(DeviceLinkWithoutReader, StaysOpenAndItsQueriesTimeOut)
{
    UiMessageQueue messages;
    std::atomic<int> playing{0};
    ThreadlessLink link(messages, playing);
    link.setBackend(std::make_unique<SimulatedPlayer>());
    ASSERT_EQ(link.open(), 0u);
    EXPECT_TRUE(link.canWrite());
    EXPECT_FALSE(link.readerRunning());

    ReportProtocol protocol(link);
    messages.setHandler(UiTarget::MainWindow, [](UiMessage&) {});
    std::array<std::uint8_t, 256> buffer{};
    EXPECT_EQ(protocol.QueryDeviceText(Protocol::CMD_GET_TEXT, buffer, 0, 0),
              ReportProtocol::TextQuery::TimedOut);
    link.close();
}

} // namespace
