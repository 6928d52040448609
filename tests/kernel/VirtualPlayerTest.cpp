#include "ChildProcess.h"
#include "KernelTestMain.h"
#include "LinkFixture.h"
#include "PlayerSystem.h"
#include "WavBuilder.h"

#include "device/DeviceWatcher.h"
#include "device/HidapiBackend.h"
#include "device/Protocol.h"
#include "download/TrackSlot.h"
#include "sim/PlayerFirmware.h"
#include "sim/ReportDescriptors.h"

#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fstream>
#include <iterator>

// These tests need root and a kernel with uhid: scripts/test-kernel runs them in a virtual machine.
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr uid_t kNobody = 65534;
// Starting a program in an emulated machine over a shared folder takes seconds, not milliseconds.
constexpr auto kStartTimeout = 30s;

const std::string kPlayerProgram = ZOFFINO_UHID_PLAYER;

// Each test runs on both of the player's ways into the kernel: uhid, and a USB gadget that usbhid enumerates.
class VirtualPlayerTest : public LinkFixture, public ::testing::WithParamInterface<std::string>
{
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        if (gadget() && usbDeviceControllers().empty()) {
            GTEST_SKIP() << "no USB device controller (modprobe dummy_hcd is_high_speed=0)";
        }
    }

    void TearDown() override
    {
        LinkFixture::TearDown();
        // Every run ends the way a user ends it: SIGTERM takes the player off the bus and it exits cleanly.
        if (player) {
            EXPECT_EQ(player->stop(5s), 0) << player->errors();
            EXPECT_FALSE(exists(node)) << node;
            EXPECT_EQ(playerGadgets(), std::vector<std::string>{}) << "the player removes its gadget";
        }
    }

    bool gadget() const { return GetParam() == "gadget"; }

    // Starts zoffino-uhid-player on the image and waits until the kernel has made its hidraw node.
    void startPlayer(std::vector<std::string> options = {})
    {
        options.insert(options.end(),
                       {"--transport", GetParam(), "--image", image, "--ready-file", readyFile});
        player.emplace(kPlayerProgram, options);
        node = waitForNode(1);
    }

    std::string waitForNode(int occurrence)
    {
        if (!player->waitForLine("ready", occurrence, kStartTimeout)) {
            ADD_FAILURE() << "the player did not get ready: " << player->errors();
            return {};
        }
        std::string path;
        std::getline(std::ifstream(readyFile), path);
        EXPECT_TRUE(path.starts_with("/dev/hidraw") && exists(path)) << path;
        return path;
    }

    void useHidapi()
    {
        app.SetBackend(std::make_unique<HidapiBackend>());
        app.SetUi(&ui);
    }

    Bytes imageBytes() const
    {
        std::ifstream file(image, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    void writeImage(const Bytes& bytes) const
    {
        std::ofstream(image, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    QString wavFile(const Bytes& samples) const
    {
        const QString path = dir.filePath(QStringLiteral("brano.wav"));
        EXPECT_TRUE(WavBuilder::deviceFormat().data(samples).writeTo(path));
        return path;
    }

    QTemporaryDir dir;
    const std::string image = dir.filePath(QStringLiteral("flash.img")).toStdString();
    const std::string readyFile = dir.filePath(QStringLiteral("ready")).toStdString();
    std::optional<ChildProcess> player;
    std::string node;
};

TEST_P(VirtualPlayerTest, FoundThroughHidrawWithItsDescriptorTextAndConfiguration)
{
    Bytes flash(Protocol::kMemorySize, 0xFF);
    const Bytes config{0x80, 0x12, 45};
    std::copy(config.begin(), config.end(), flash.begin() + PlayerFirmware::kConfigAddress);
    writeImage(flash);
    // 62 text bytes fit one report: this one needs a second.
    const std::string text =
        "Zoffino USB virtuale - un testo che non sta in un solo report HID, ne servono due";
    startPlayer({"--text", text});
    useHidapi();
    ASSERT_EQ(app.OpenDevice(), 0) << qPrintable(ui.messages.join('\n'));
    EXPECT_EQ(app.Link().devicePath(), node);
    EXPECT_EQ(app.Link().caps().input, 64);
    EXPECT_EQ(app.Link().caps().output, 64);
    // The kernel hands out the descriptor the player was created with, byte for byte.
    const auto handle = HidapiBackend().open(node);
    ASSERT_TRUE(handle);
    EXPECT_EQ(handle->reportDescriptor(), ReportDescriptors::player(64, 64));

    listenAsMainWindow();
    std::array<std::uint8_t, 256> buffer{};
    ASSERT_EQ(app.QueryDeviceText(Protocol::CMD_GET_TEXT, buffer, 0, 0), ReportProtocol::TextQuery::Done);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data())), text);
    app.ReadDeviceConfig(buffer);
    EXPECT_EQ(app.m_Config, (DeviceConfig{0x80, 0x12, 45}));
    EXPECT_TRUE(ui.messages.isEmpty());

    // Requests on the control pipe are answered at once, where an unanswered one holds the caller 5 s. The
    // player has no feature report: uhid's refuses both; the gadget's HID function answers a report
    // request by itself (with zeros) and stalls a report sent.
    const int fd = ::open(node.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    std::array<std::uint8_t, 64> report{Protocol::kInputReportId};
    const auto asked = Clock::now();
    const int got = ::ioctl(fd, HIDIOCGFEATURE(report.size()), report.data());
    const int gotError = errno;
    EXPECT_EQ(::ioctl(fd, HIDIOCSFEATURE(report.size()), report.data()), -1);
    EXPECT_EQ(errno, gadget() ? EPIPE : EIO);
    EXPECT_LT(Clock::now() - asked, 1s);
    if (!gadget()) {
        EXPECT_EQ(got, -1);
        EXPECT_EQ(gotError, EIO);
    }
    ::close(fd);

    const auto closing = Clock::now();
    app.CloseDevice();
    EXPECT_LT(Clock::now() - closing, 1s);
}

TEST_P(VirtualPlayerTest, AFullSlotArrivesInTheFlashByteForByte)
{
    // Over the gadget each report waits for the virtual USB controller's next frame, which an emulated
    // machine makes costly: there the last slot of four, 4094 blocks, instead of the whole memory. Either
    // crosses sector boundaries and ends at the memory's end.
    const auto mode = static_cast<std::uint8_t>(gadget() ? 2 : 0);
    const TrackSlot slot = *TrackSlot::forTrack(mode, TrackSlot::countFor(mode) - 1);
    const DeviceConfig config{0, mode, 60};
    startPlayer();
    useHidapi();
    ASSERT_EQ(app.OpenDevice(), 0);
    const Bytes samples = WavBuilder::samples(slot.capacity() + 1000);
    app.m_Config = config;
    ASSERT_EQ(
        app.DownloadTrack(wavFile(samples), QStringLiteral("Brano intero"), slot.start, slot.length, config),
        LoadResult::Done)
        << qPrintable(ui.messages.join('\n'));

    // The player writes each block through to its image before acknowledging it.
    Bytes expected(Protocol::kMemorySize, 0xFF);
    const auto header = expected.begin() + slot.start;
    std::fill_n(header, TrackSlot::kHeaderSize, 0);
    const std::string title = "Brano intero";
    std::copy(title.begin(), title.end(), header + 3);
    std::copy_n(samples.begin(), slot.capacity(), header + TrackSlot::kHeaderSize);
    const Bytes stored{config.Config1, config.Config2, config.Config3};
    std::copy(stored.begin(), stored.end(), expected.begin() + PlayerFirmware::kConfigAddress);
    const Bytes actual = imageBytes();
    ASSERT_EQ(actual.size(), expected.size());
    const auto differs = std::mismatch(actual.begin(), actual.end(), expected.begin()).first;
    EXPECT_TRUE(differs == actual.end())
        << "first difference at 0x" << std::hex << (differs - actual.begin());
}

TEST_P(VirtualPlayerTest, UnpluggedMidDownloadItFailsAtOnceAndNothingMoreIsSent)
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
    EXPECT_TRUE(std::equal(flash.begin() + 0xC40, flash.begin() + 0xC80, samples.begin() + 47 * 64))
        << "the last acknowledged block is stored";
    EXPECT_EQ(Bytes(flash.begin() + 0xC80, flash.begin() + 0xCC0), Bytes(64, 0xFF)) << "the lost one is not";

    const auto closing = Clock::now();
    app.CloseDevice();
    EXPECT_LT(Clock::now() - closing, 1s);
}

TEST_P(VirtualPlayerTest, APlayerThatComesBackIsFoundAgain)
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

TEST_P(VirtualPlayerTest, TheProgramSeesAPlayerPluggedInAndPulledOutThroughTheKernelsEvents)
{
    useHidapi();
    app.SetWatcher(DeviceWatcher::forBackend(*app.Backend()));
    ASSERT_NE(app.Watcher(), nullptr);
    EXPECT_EQ(app.OpenDevice(), -1);
    ui.messages.clear();

    startPlayer();
    const auto plugged = player->waitForLine("ready", 1, 1s);
    ASSERT_TRUE(plugged);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.deviceChanges == std::vector<bool>{true}; }, 2000));
    const auto found = Clock::now();
    std::printf("found %lld ms after the node appeared\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(found - *plugged).count()));
    EXPECT_EQ(app.m_nDeviceState, 1);
    EXPECT_EQ(app.Link().openPath(), node);

    const auto pulled = Clock::now();
    EXPECT_EQ(player->stop(5s), 0) << player->errors();
    player.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.deviceChanges == std::vector<bool>{true, false}; }, 2000));
    std::printf("lost %lld ms after the player was told to go\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - pulled).count()));
    EXPECT_LE(app.m_nDeviceState, 0);
    EXPECT_FALSE(app.Link().canWrite());
    EXPECT_TRUE(ui.messages.isEmpty()) << "arrivals and removals show no box";
    app.SetWatcher(nullptr);
}

TEST_P(VirtualPlayerTest, PlaybackEndsWhenTheTrackHasPlayed)
{
    Bytes flash(Protocol::kMemorySize, 0xFF);
    std::fill_n(flash.begin(), TrackSlot::kHeaderSize, 0);
    constexpr std::size_t kSamples = 69 * Protocol::kBlockSize;
    std::fill_n(flash.begin() + TrackSlot::kHeaderSize, kSamples, 0x80);
    // Not looping: erased, the configuration would have the loop bit set.
    const Bytes config{0, 0x10, 60};
    std::copy(config.begin(), config.end(), flash.begin() + PlayerFirmware::kConfigAddress);
    writeImage(flash);
    startPlayer();
    useHidapi();
    ASSERT_EQ(app.OpenDevice(), 0);
    listenAsMainWindow();

    const auto started = Clock::now();
    app.SendCommand(Protocol::CMD_PLAY, 0, 0, 0, 0);
    const std::optional<UiMessage> playing = next(WM_PLAY_STATE);
    ASSERT_TRUE(playing);
    EXPECT_EQ(playing->wParam, 1u);
    const std::optional<UiMessage> ended = next(WM_PLAY_STATE, 3s);
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->wParam, 0u);
    EXPECT_GE(Clock::now() - started,
              std::chrono::microseconds(kSamples * 1'000'000 / TrackSlot::kSampleRate));
    EXPECT_EQ(app.m_bPlaying, 0);
}

TEST_P(VirtualPlayerTest, AnotherUserIsToldWhyThePlayerCannotBeOpened)
{
    startPlayer();
    std::array<char, PATH_MAX> self{};
    ASSERT_GT(::readlink("/proc/self/exe", self.data(), self.size() - 1), 0);
    ChildProcess step(self.data(), {kOpenPlayerStep}, kNobody);
    // EACCES, in the program's own words, then in the user's, with the commands that give the node to them.
    EXPECT_TRUE(step.waitForLine("Unable to open VxD, Error code: d", 1, kStartTimeout)) << step.errors();
    EXPECT_TRUE(
        step.waitForLine("Il lettore è collegato, ma questo utente non ha il permesso di usarlo.", 1, 5s));
    EXPECT_TRUE(step.waitForLine("    sudo udevadm control --reload", 1, 5s));
    EXPECT_EQ(step.waitForExit(kStartTimeout), 0) << step.errors();
}

INSTANTIATE_TEST_SUITE_P(Transports, VirtualPlayerTest, ::testing::Values("uhid", "gadget"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(VirtualPlayerProgram, WithoutAccessToUhidOrWithABadOptionItSaysWhyAndStops)
{
    QTemporaryDir dir;
    const std::string image = dir.filePath(QStringLiteral("flash.img")).toStdString();
    ChildProcess player(kPlayerProgram, {"--image", image}, kNobody);
    EXPECT_EQ(player.waitForExit(kStartTimeout), 1);
    EXPECT_TRUE(player.errors().starts_with("zoffino-uhid-player: No permission to open /dev/uhid"))
        << player.errors();
    EXPECT_FALSE(exists(image)) << "no image is made for a player that cannot be";

    ChildProcess confused(kPlayerProgram, {"--unplug-after", "12abc"});
    EXPECT_EQ(confused.waitForExit(kStartTimeout), 2);
    EXPECT_TRUE(confused.errors().starts_with("--unplug-after needs a number")) << confused.errors();
}

} // namespace
