#include "BlockCommits.h"
#include "sim/FaultInjectingPlayer.h"

#include "device/Protocol.h"
#include "sim/PlayerFirmware.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <optional>
#include <random>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kAck = Protocol::CMD_COMMIT_BLOCK;

// Longest input and output report (report ID byte included), as a HID descriptor parser works them out.
std::pair<int, int> reportLengths(const Bytes& d)
{
    std::map<int, int> global;              // item value by tag: report size, count and ID
    std::map<int, std::map<int, int>> bits; // by main item tag (input, output), then report ID
    for (std::size_t i = 0, n = 0; i < d.size(); i += 1 + n) {
        n = (d[i] & 3) == 3 ? 4 : (d[i] & 3);
        int value = 0;
        for (std::size_t k = 0; k < n && i + 1 + k < d.size(); ++k) {
            value |= d[i + 1 + k] << (8 * k);
        }
        const int tag = d[i] & 0xFC;
        if (tag == 0x80 || tag == 0x90) {
            bits[tag][global[0x84]] += global[0x74] * global[0x94];
        } else {
            global[tag] = value;
        }
    }
    auto longest = [&bits](int tag) {
        int best = 0;
        for (const auto& [id, total] : bits[tag]) {
            best = std::max(best, total / 8 + (id != 0 ? 1 : 0));
        }
        return best;
    };
    return {longest(0x80), longest(0x90)};
}

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::filesystem::path freshTempPath()
{
    std::random_device random;
    return std::filesystem::temp_directory_path() / ("simulated-player-" + std::to_string(random()) + ".bin");
}

Bytes readFile(const std::filesystem::path& path)
{
    Bytes bytes(std::filesystem::file_size(path));
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// Waits until a read is blocked inside the player, so that what the test does next has to wake it.
bool readerWaits(const FaultInjectingPlayer& player)
{
    const auto deadline = Clock::now() + 2s;
    while (player.waitingReads() == 0) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

// A writer and a reader handle on one player, as the program's link holds them.
class SimulatedPlayerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_writer = m_player.open(SimulatedPlayer::kPlayerPath);
        m_reader = m_player.open(SimulatedPlayer::kPlayerPath);
        ASSERT_TRUE(m_writer && m_reader);
    }

    int send(std::initializer_list<std::uint8_t> bytes)
    {
        Bytes report(64, 0);
        report[0] = Protocol::kOutputReportId;
        std::copy(bytes.begin(), bytes.end(), report.begin() + 1);
        return m_writer->write(report);
    }

    std::optional<Bytes> receive(int timeoutMs = 2000)
    {
        Bytes buffer(64);
        const int n = m_reader->read(buffer, timeoutMs);
        if (n <= 0) {
            return std::nullopt;
        }
        buffer.resize(n);
        return buffer;
    }

    void loadAndCommit(const Bytes& block, std::uint32_t address, bool eraseSector)
    {
        for (int half = 0; half < 2; ++half) {
            Bytes report(64, 0);
            report[0] = Protocol::kOutputReportId;
            report[1] = Protocol::CMD_LOAD_HALF;
            std::copy_n(block.begin() + 32 * half, 32, report.begin() + 2);
            ASSERT_EQ(m_writer->write(report), 64);
        }
        commit(address, eraseSector);
    }

    void commit(std::uint32_t address, bool eraseSector)
    {
        ASSERT_EQ(send({Protocol::CMD_COMMIT_BLOCK, std::uint8_t(address), std::uint8_t(address >> 8),
                        std::uint8_t(address >> 16), std::uint8_t(eraseSector ? 1 : 0)}),
                  64);
    }

    void expectAck(std::uint32_t address)
    {
        const auto ack = receive();
        ASSERT_TRUE(ack);
        EXPECT_EQ((*ack)[1], kAck);
        EXPECT_EQ(commitAddress(*ack), address);
    }

    FaultInjectingPlayer m_player;
    std::unique_ptr<HidDevice> m_writer;
    std::unique_ptr<HidDevice> m_reader;
};

TEST(SimulatedPlayerDiscovery, ListsPlayerAfterAnotherInterfaceAndHonoursKnobs)
{
    FaultInjectingPlayer player;
    auto list = player.enumerate();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_NE(list[0].vendorId, Protocol::kVendorId);
    EXPECT_EQ(list[1].vendorId, Protocol::kVendorId);
    EXPECT_EQ(list[1].productId, Protocol::kProductId);

    auto other = player.open(list[0].path);
    ASSERT_TRUE(other);
    Bytes buffer(64);
    EXPECT_EQ(other->read(buffer, 10), 0);

    auto device = player.open(list[1].path);
    ASSERT_TRUE(device);
    EXPECT_EQ(reportLengths(device->reportDescriptor()), std::make_pair(64, 64));
    player.setReportLength(65, 64);
    EXPECT_EQ(reportLengths(device->reportDescriptor()), std::make_pair(65, 64));

    player.setOpenFails(true);
    EXPECT_EQ(player.enumerate().size(), 2u);
    EXPECT_FALSE(player.open(SimulatedPlayer::kPlayerPath));
    EXPECT_EQ(player.lastError(), 5u);

    player.setPresent(false);
    list = player.enumerate();
    EXPECT_TRUE(std::none_of(list.begin(), list.end(),
                             [](const HidDeviceInfo& i) { return i.vendorId == Protocol::kVendorId; }));
    EXPECT_FALSE(player.open(SimulatedPlayer::kPlayerPath));
    EXPECT_NE(player.lastError(), 0u);
}

TEST_F(SimulatedPlayerTest, AckCanBeWithheldOrLate)
{
    // Neither a withheld ack nor an unknown command leaves anything ahead of the test echo.
    m_player.setAckEnabled(false);
    loadAndCommit(Bytes(64, 0), 0, false);
    send({99, 1, 2, 3});
    send({Protocol::CMD_TEST, 0x5A});
    auto reply = receive();
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[1], Protocol::CMD_TEST);
    EXPECT_EQ((*reply)[2], 0x5A);

    m_player.setAckEnabled(true);
    m_player.setAckDelay(150ms);
    const auto start = Clock::now();
    loadAndCommit(Bytes(64, 0), 0x40, false);
    EXPECT_FALSE(receive(30));
    expectAck(0x40);
    EXPECT_GE(millisecondsSince(start), 150.0);
}

TEST_F(SimulatedPlayerTest, PacingChargesOneReportTimePerReportEitherWay)
{
    m_player.setReportTime(2ms);
    const auto start = Clock::now();
    constexpr int kBlocks = 10;
    for (int i = 0; i < kBlocks; ++i) {
        loadAndCommit(Bytes(64, 0), 64 * i, false);
    }
    // Each block's ack takes a slot before the next block's first report.
    EXPECT_GE(millisecondsSince(start), (4 * kBlocks - 1) * 2.0);
    for (int i = 0; i < kBlocks; ++i) {
        expectAck(64 * i);
    }
    const double elapsed = millisecondsSince(start);
    EXPECT_GE(elapsed, 4 * kBlocks * 2.0);
    EXPECT_LT(elapsed, 1000.0);
}

// Nothing but the clock ends a track, so the reader that waits for its end has to wake by itself.
TEST_F(SimulatedPlayerTest, AReaderWaitingForTheEndOfATrackWakesAtItsEnd)
{
    // A 441-sample track in the second of four slots; it runs to the end of its last 64-byte block.
    m_player.setConfig(0x00, 0x02, 0x00);
    m_player.fillFlash(0x40000, 128, 0x00);
    m_player.fillFlash(0x40080, 441, 0x80);
    constexpr double kTrackMs = 448 * 1000.0 / PlayerFirmware::kSampleRate;
    auto status = [this](int timeoutMs) {
        const auto report = receive(timeoutMs);
        return report && (*report)[1] == Protocol::REPORT_STATUS
                   ? std::optional<int>((*report)[Protocol::kPlayingFlagByte])
                   : std::nullopt;
    };

    const auto start = Clock::now();
    send({Protocol::CMD_PLAY, 1 * 4, 0, 0, 3});
    EXPECT_EQ(status(0), 1);
    EXPECT_TRUE(m_player.isPlaying());
    EXPECT_EQ(status(2000), 0);
    const double elapsed = millisecondsSince(start);
    EXPECT_GE(elapsed, kTrackMs);
    EXPECT_LT(elapsed, kTrackMs + 500);
    EXPECT_FALSE(m_player.isPlaying());
}

TEST_F(SimulatedPlayerTest, DeliversInjectedReportsAsIsAndNeverOverrunsTheBuffer)
{
    m_player.injectInputReport({0x07, 0x42, 0x01});
    m_player.injectInputReport(Bytes(64, 0xEE));
    auto report = receive();
    ASSERT_TRUE(report);
    EXPECT_EQ(*report, Bytes({0x07, 0x42, 0x01}));
    Bytes small(10);
    EXPECT_EQ(m_reader->read(small, 1000), 10);
    EXPECT_EQ(small, Bytes(10, 0xEE));
}

TEST_F(SimulatedPlayerTest, UnplugWakesTheReaderAndFailsEverything)
{
    Bytes buffer(64);
    auto pending = std::async(std::launch::async, [&] { return m_reader->read(buffer, 5000); });
    ASSERT_TRUE(readerWaits(m_player));
    m_player.unplug();
    ASSERT_EQ(pending.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(pending.get(), -1);
    EXPECT_EQ(send({Protocol::CMD_TEST}), -1);
    EXPECT_TRUE(m_player.enumerate().empty());
    EXPECT_FALSE(m_player.open(SimulatedPlayer::kPlayerPath));

    m_player.replug();
    EXPECT_EQ(send({Protocol::CMD_TEST}), -1);
    EXPECT_TRUE(m_player.open(SimulatedPlayer::kPlayerPath));
}

TEST_F(SimulatedPlayerTest, FailingWritesUnplugAfterTheGivenCount)
{
    m_player.failWritesAfter(2);
    EXPECT_EQ(send({Protocol::CMD_TEST}), 64);
    EXPECT_EQ(send({Protocol::CMD_TEST}), 64);
    EXPECT_EQ(send({Protocol::CMD_TEST}), -1);
    EXPECT_TRUE(m_player.enumerate().empty());
    Bytes buffer(64);
    EXPECT_EQ(m_reader->read(buffer, 1000), -1);
}

TEST_F(SimulatedPlayerTest, WriterAndReaderThreadsRunConcurrently)
{
    constexpr int kBlocks = 300;
    m_player.recordOutputReports(true);
    auto acks = std::async(std::launch::async, [this] {
        int inOrder = 0;
        while (inOrder < kBlocks) {
            const auto ack = receive(5000);
            if (!ack || (*ack)[1] != kAck || ((*ack)[2] | (*ack)[3] << 8) != inOrder * 64) {
                break;
            }
            ++inOrder;
        }
        return inOrder;
    });
    ASSERT_TRUE(readerWaits(m_player));
    for (int i = 0; i < kBlocks; ++i) {
        loadAndCommit(Bytes(64, std::uint8_t(i)), 64 * i, i == 0);
    }
    // A reader that is not woken by new reports would sit out its whole time-out.
    ASSERT_EQ(acks.wait_for(3s), std::future_status::ready);
    EXPECT_EQ(acks.get(), kBlocks);
    EXPECT_EQ(m_player.outputReports().size(), 3u * kBlocks);
    EXPECT_EQ(m_player.flash()[64 * 299], 299 & 0xFF);
}

TEST(SimulatedPlayerLifetime, HandlesOutliveThePlayer)
{
    auto player = std::make_unique<FaultInjectingPlayer>();
    auto writer = player->open(SimulatedPlayer::kPlayerPath);
    auto reader = player->open(SimulatedPlayer::kPlayerPath);
    ASSERT_TRUE(writer && reader);
    Bytes buffer(64);
    auto pending = std::async(std::launch::async, [&] { return reader->read(buffer, 5000); });
    ASSERT_TRUE(readerWaits(*player));
    player.reset();
    ASSERT_EQ(pending.wait_for(2s), std::future_status::ready);
    EXPECT_EQ(pending.get(), -1);
    Bytes report(64, 0);
    report[0] = Protocol::kOutputReportId;
    EXPECT_EQ(writer->write(report), -1);
    EXPECT_TRUE(writer->reportDescriptor().empty());
}

class SimulatedPlayerImageTest : public SimulatedPlayerTest
{
protected:
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }

    std::filesystem::path m_path = freshTempPath();
    std::string m_error;
};

TEST_F(SimulatedPlayerImageTest, MissingImageIsCreatedErasedAndWrittenThrough)
{
    m_player.fillFlash(0, 16, 0x00);
    ASSERT_TRUE(m_player.attachImage(m_path.string(), m_error)) << m_error;
    EXPECT_EQ(readFile(m_path), Bytes(Protocol::kMemorySize, 0xFF));
    EXPECT_EQ(m_player.flash(), Bytes(Protocol::kMemorySize, 0xFF));

    loadAndCommit(Bytes(64, 0x5A), 0x30000, true);
    expectAck(0x30000);
    send({Protocol::CMD_SET_CONFIG, 0x01, 0x02, 0x03});
    Bytes file = readFile(m_path);
    EXPECT_EQ(file[0x30000], 0x5A);
    EXPECT_EQ(file[0xFFF82], 0x03);
    EXPECT_EQ(file, m_player.flash());

    // Another player cannot take the image while this one holds it; once this one has let it go (for
    // another image), the other picks it up as its flash.
    SimulatedPlayer second;
    EXPECT_FALSE(second.attachImage(m_path.string(), m_error));
    const std::filesystem::path other = m_path.string() + ".other";
    ASSERT_TRUE(m_player.attachImage(other.string(), m_error)) << m_error;
    ASSERT_TRUE(second.attachImage(m_path.string(), m_error)) << m_error;
    EXPECT_EQ(second.flash(), file);
    EXPECT_EQ(second.config(), (std::array<std::uint8_t, 3>{1, 2, 3}));
    std::filesystem::remove(other);
}

TEST_F(SimulatedPlayerImageTest, ImageOfWrongSizeIsRefusedAndLeftAlone)
{
    {
        std::ofstream out(m_path, std::ios::binary);
        out << std::string(1000, 'x');
    }
    m_player.fillFlash(0, 16, 0x11);
    EXPECT_FALSE(m_player.attachImage(m_path.string(), m_error));
    EXPECT_FALSE(m_error.empty());
    EXPECT_EQ(m_player.flash()[15], 0x11);
    EXPECT_EQ(std::filesystem::file_size(m_path), 1000u);
}

} // namespace
