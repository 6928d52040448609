#include "KernelTestMain.h"
#include "VirtualPlayerFixture.h"

#include "device/DeviceWatcher.h"
#include "device/Protocol.h"
#include "download/TrackSlot.h"
#include "sim/PlayerFirmware.h"
#include "sim/ReportDescriptors.h"

#include <QTest>

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>

// The program finds the player, reads it, loads it, sees it come and go, on both transports.
namespace {

using namespace std::chrono_literals;

using VirtualPlayerTest = VirtualPlayerFixture;

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

ZOFFINO_ON_EACH_TRANSPORT(VirtualPlayerTest);

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
