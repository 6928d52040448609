#include "sim/PlayerFirmware.h"
#include "BlockCommits.h"

#include "BlockCommits.h"
#include "FileSizeLimit.h"

#include "device/Protocol.h"
#include "sim/FlashImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using TimePoint = PlayerFirmware::TimePoint;

// The firmware on its own, driven by hand-made times: no thread, no clock, no bus.
class PlayerFirmwareTest : public ::testing::Test
{
protected:
    std::vector<PlayerFirmware::Reply> send(std::initializer_list<std::uint8_t> bytes, TimePoint at)
    {
        Bytes report(64, 0);
        report[0] = Protocol::kOutputReportId;
        std::copy(bytes.begin(), bytes.end(), report.begin() + 1);
        return m_firmware.receive(report, at);
    }

    void loadHalf(std::uint8_t value, TimePoint at)
    {
        Bytes report(64, value);
        report[0] = Protocol::kOutputReportId;
        report[1] = Protocol::CMD_LOAD_HALF;
        EXPECT_TRUE(m_firmware.receive(report, at).empty());
    }

    std::vector<PlayerFirmware::Reply> commit(std::uint32_t address, bool eraseSector, TimePoint at)
    {
        return send({Protocol::CMD_COMMIT_BLOCK, std::uint8_t(address & 0xFF),
                     std::uint8_t((address >> 8) & 0xFF), std::uint8_t((address >> 16) & 0xFF),
                     std::uint8_t(eraseSector ? 1 : 0)},
                    at);
    }

    static void expectAck(const std::vector<PlayerFirmware::Reply>& replies, std::uint32_t address,
                          TimePoint at)
    {
        ASSERT_EQ(replies.size(), 1u);
        const Bytes& ack = replies[0].report;
        ASSERT_EQ(ack.size(), 64u);
        EXPECT_EQ(ack[0], Protocol::kInputReportId);
        EXPECT_EQ(ack[1], Protocol::CMD_COMMIT_BLOCK);
        EXPECT_EQ(commitAddress(ack), address);
        EXPECT_EQ(replies[0].earliest, at);
    }

    // Whether replies are exactly status reports with these playing flags, each dated at its time.
    static void expectStatus(const std::vector<PlayerFirmware::Reply>& replies,
                             std::vector<std::pair<bool, TimePoint>> expected)
    {
        ASSERT_EQ(replies.size(), expected.size());
        for (std::size_t i = 0; i < replies.size(); ++i) {
            EXPECT_EQ(replies[i].report[1], Protocol::REPORT_STATUS) << i;
            EXPECT_EQ(replies[i].report[Protocol::kPlayingFlagByte], expected[i].first ? 1 : 0) << i;
            EXPECT_EQ(replies[i].earliest, expected[i].second) << i;
        }
    }

    Bytes flash(std::uint32_t from, std::uint32_t length) const
    {
        const auto bytes = m_flash.bytes().subspan(from, length);
        return {bytes.begin(), bytes.end()};
    }

    const TimePoint m_t0 = TimePoint(1h);
    FlashImage m_flash;
    PlayerFirmware m_firmware{m_flash};
};

TEST_F(PlayerFirmwareTest, ProgramsABlockFromItsHalvesLikeNorFlash)
{
    m_flash.fill(0x10000, 0x20000, 0xF0);
    loadHalf(0x3C, m_t0);
    loadHalf(0x0F, m_t0 + 1ms);
    expectAck(commit(0x10040, false, m_t0 + 2ms), 0x10040, m_t0 + 2ms);
    EXPECT_EQ(flash(0x1003F, 1), Bytes{0xF0});
    EXPECT_EQ(flash(0x10040, 32), Bytes(32, 0x30));
    EXPECT_EQ(flash(0x10060, 32), Bytes(32, 0x00));
    EXPECT_EQ(flash(0x10080, 1), Bytes{0xF0});

    // The erase covers the whole sector the address lies in, then the block is programmed.
    loadHalf(0x11, m_t0);
    loadHalf(0x11, m_t0);
    expectAck(commit(0x10080, true, m_t0 + 3ms), 0x10080, m_t0 + 3ms);
    EXPECT_EQ(flash(0x10000, 0x80), Bytes(0x80, 0xFF));
    EXPECT_EQ(flash(0x10080, 64), Bytes(64, 0x11));
    EXPECT_EQ(flash(0x100C0, 0x1FFFF - 0x100C0 + 1), Bytes(0x1FFFF - 0x100C0 + 1, 0xFF));
    EXPECT_EQ(flash(0x20000, 1), Bytes{0xF0});

    // Halves start over after a commit and after a loss of power: a lone half programs the first 32 bytes.
    loadHalf(0x00, m_t0);
    m_firmware.powerOff();
    loadHalf(0x00, m_t0);
    expectAck(commit(0x200C0, false, m_t0), 0x200C0, m_t0);
    EXPECT_EQ(flash(0x200C0, 32), Bytes(32, 0x00));
    EXPECT_EQ(flash(0x200E0, 32), Bytes(32, 0xF0));
}

TEST_F(PlayerFirmwareTest, ErasingTheLastSectorKeepsTheSettingsArea)
{
    m_flash.fill(0xF0000, 0x10000, 0x00);
    ASSERT_TRUE(m_firmware.storeConfig(1, 2, 3));
    loadHalf(0xFF, m_t0);
    loadHalf(0xFF, m_t0);
    expectAck(commit(0xF0000, true, m_t0), 0xF0000, m_t0);
    EXPECT_EQ(flash(0xF0000, 0xFF80), Bytes(0xFF80, 0xFF));
    EXPECT_EQ(flash(0xFFF80, 3), Bytes({1, 2, 3}));
    EXPECT_EQ(flash(0xFFFFF, 1), Bytes{0x00});
    EXPECT_EQ(m_firmware.config(), (std::array<std::uint8_t, 3>{1, 2, 3}));
}

TEST_F(PlayerFirmwareTest, AddressesAtTheTopAreClippedOrIgnoredButAcknowledged)
{
    loadHalf(0x00, m_t0);
    loadHalf(0x00, m_t0);
    expectAck(commit(0x100000, true, m_t0), 0x100000, m_t0);
    EXPECT_TRUE(
        std::all_of(m_flash.bytes().begin(), m_flash.bytes().end(), [](auto b) { return b == 0xFF; }));

    loadHalf(0x00, m_t0);
    loadHalf(0x00, m_t0);
    expectAck(commit(0xFFFF0, false, m_t0), 0xFFFF0, m_t0);
    EXPECT_EQ(m_flash.bytes().size(), Protocol::kMemorySize);
    EXPECT_EQ(flash(0xFFFEF, 1), Bytes{0xFF});
    EXPECT_EQ(flash(0xFFFF0, 16), Bytes(16, 0x00));
}

TEST(PlayerFirmwareOnAnImage, ABlockTheImageCannotTakeIsNotAcknowledged)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("firmware-image-" + std::to_string(std::random_device()()) + ".bin");
    std::string error;
    std::optional<FlashImage> image = FlashImage::open(path.string(), error);
    ASSERT_TRUE(image) << error;
    PlayerFirmware firmware(*image);
    const auto block = [&](std::uint32_t address) {
        Bytes report(64, 0x5A);
        report[0] = Protocol::kOutputReportId;
        report[1] = Protocol::CMD_LOAD_HALF;
        firmware.receive(report, TimePoint());
        firmware.receive(report, TimePoint());
        report = Bytes(64, 0);
        report[0] = Protocol::kOutputReportId;
        report[1] = Protocol::CMD_COMMIT_BLOCK;
        report[2] = static_cast<std::uint8_t>(address);
        report[3] = static_cast<std::uint8_t>(address >> 8);
        report[4] = static_cast<std::uint8_t>(address >> 16);
        return firmware.receive(report, TimePoint()).size();
    };
    {
        // As on a full disk: the host must not be told that the block is stored.
        FileSizeLimit limit(0x10000);
        ASSERT_TRUE(limit.active());
        EXPECT_EQ(block(0x30000), 0u);
    }
    EXPECT_EQ(block(0x30040), 1u) << "a later block that the image takes is acknowledged";
    image->detach();
    std::filesystem::remove(path);
}

TEST_F(PlayerFirmwareTest, AnswersTextConfigurationAndEcho)
{
    // The terminator of a text that fills a report whole needs a report of its own.
    const std::string text(62, 'a');
    m_firmware.setText(text + '\0' + "hidden");
    auto replies = send({Protocol::CMD_GET_TEXT}, m_t0);
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].report[1], Protocol::REPLY_TEXT);
    EXPECT_EQ(std::string(replies[0].report.begin() + 2, replies[0].report.end()), text);
    // Nothing of what follows a zero inside the text goes out.
    Bytes terminator(64, 0);
    terminator[0] = Protocol::kInputReportId;
    terminator[1] = Protocol::REPLY_TEXT;
    EXPECT_EQ(replies[1].report, terminator);
    EXPECT_EQ(replies[1].earliest, m_t0);

    m_firmware.setTextUnterminated(true);
    replies = send({Protocol::CMD_GET_TEXT}, m_t0);
    ASSERT_EQ(replies.size(), 4u);
    for (const auto& reply : replies) {
        EXPECT_TRUE(
            std::none_of(reply.report.begin() + 2, reply.report.end(), [](auto b) { return b == 0; }));
    }

    // Version 1.0, the word 0x0400, then Config1..3 of an erased flash.
    replies = send({Protocol::CMD_GET_CONFIG}, m_t0);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(
        Bytes(replies[0].report.begin(), replies[0].report.begin() + 9),
        Bytes({Protocol::kInputReportId, Protocol::REPLY_CONFIG, 0x01, 0x00, 0x00, 0x04, 0xFF, 0xFF, 0xFF}));

    EXPECT_TRUE(send({Protocol::CMD_SET_CONFIG, 0x05, 0x12, 0x34}, m_t0).empty());
    EXPECT_EQ(flash(0xFFF80, 3), Bytes({0x05, 0x12, 0x34}));
    replies = send({Protocol::CMD_EE_READ}, m_t0 + 1ms);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(Bytes(replies[0].report.begin(), replies[0].report.begin() + 5),
              Bytes({Protocol::kInputReportId, Protocol::CMD_EE_READ, 0x05, 0x12, 0x34}));
    EXPECT_EQ(replies[0].earliest, m_t0 + 1ms);

    // A report that is cut short reads as padded with zeros; other report IDs and unknown commands go
    // unanswered.
    replies = m_firmware.receive(Bytes{Protocol::kOutputReportId, Protocol::CMD_TEST}, m_t0);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(Bytes(replies[0].report.begin(), replies[0].report.begin() + 3),
              Bytes({Protocol::kInputReportId, Protocol::CMD_TEST, 0x00}));
    EXPECT_EQ(send({Protocol::CMD_TEST, 0x5A}, m_t0)[0].report[2], 0x5A);
    EXPECT_TRUE(m_firmware.receive(Bytes{Protocol::kInputReportId, Protocol::CMD_TEST}, m_t0).empty());
    EXPECT_TRUE(send({99, 1, 2, 3}, m_t0).empty());
    EXPECT_TRUE(m_firmware.receive(Bytes{}, m_t0).empty());
}

class PlayerFirmwarePlayTest : public PlayerFirmwareTest
{
protected:
    // A 441-sample track in the second of four slots; it runs to the end of its last 64-byte block.
    void SetUp() override
    {
        m_firmware.storeConfig(0x00, 0x02, 0x00);
        m_flash.fill(0x40000, 128, 0x00);
        m_flash.fill(0x40080, 441, 0x80);
    }

    static constexpr std::chrono::nanoseconds kTrack{448LL * 1'000'000'000 / PlayerFirmware::kSampleRate};
};

TEST_F(PlayerFirmwarePlayTest, ReportsStartAndEndOfATrackAtTheirTimes)
{
    expectStatus(send({Protocol::CMD_PLAY, 1 * 4, 0, 0, 3}, m_t0), {{true, m_t0}});
    EXPECT_TRUE(m_firmware.isPlaying());
    EXPECT_EQ(m_firmware.nextEvent(), m_t0 + kTrack);
    EXPECT_TRUE(m_firmware.advance(m_t0 + kTrack - 1ns).empty());
    EXPECT_TRUE(m_firmware.isPlaying());
    // Whoever looks late still gets the end dated when it happened.
    expectStatus(m_firmware.advance(m_t0 + kTrack + 1s), {{false, m_t0 + kTrack}});
    EXPECT_FALSE(m_firmware.isPlaying());
    EXPECT_EQ(m_firmware.nextEvent(), TimePoint::max());
    EXPECT_TRUE(m_firmware.advance(m_t0 + 1h).empty());

    // An empty slot ends as soon as it starts.
    expectStatus(send({Protocol::CMD_PLAY, 2 * 4, 0, 0, 3}, m_t0 + 2s),
                 {{true, m_t0 + 2s}, {false, m_t0 + 2s}});
    EXPECT_FALSE(m_firmware.isPlaying());
}

TEST_F(PlayerFirmwarePlayTest, ALoopPlaysUntilTheConfigurationIsSet)
{
    m_firmware.storeConfig(0x80, 0x02, 0x00);
    expectStatus(send({Protocol::CMD_PLAY, 1 * 4, 0, 0, 3}, m_t0), {{true, m_t0}});
    EXPECT_EQ(m_firmware.nextEvent(), TimePoint::max());
    EXPECT_TRUE(m_firmware.advance(m_t0 + 1h).empty());
    EXPECT_TRUE(m_firmware.isPlaying());
    expectStatus(send({Protocol::CMD_SET_CONFIG, 0x00, 0x02, 0x00}, m_t0 + 1h), {{false, m_t0 + 1h}});
    EXPECT_FALSE(m_firmware.isPlaying());
    // Set again while nothing plays, the configuration says nothing.
    EXPECT_TRUE(send({Protocol::CMD_SET_CONFIG, 0x00, 0x02, 0x00}, m_t0 + 1h).empty());
}

TEST_F(PlayerFirmwarePlayTest, LosingPowerStopsPlaybackWithoutAWord)
{
    send({Protocol::CMD_PLAY, 1 * 4, 0, 0, 3}, m_t0);
    m_firmware.powerOff();
    EXPECT_FALSE(m_firmware.isPlaying());
    EXPECT_EQ(m_firmware.nextEvent(), TimePoint::max());
    EXPECT_TRUE(m_firmware.advance(m_t0 + kTrack).empty());
}

} // namespace
