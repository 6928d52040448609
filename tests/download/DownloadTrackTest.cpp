#include "BlockCommits.h"
#include "LinkFixture.h"
#include "WavBuilder.h"

#include "device/Protocol.h"
#include "download/TrackSlot.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kSector = Protocol::kSectorSize;

class DownloadTrack : public LinkFixture
{
protected:
    void SetUp() override
    {
        player = &useSimulatedPlayer();
        // Not erased: what the download leaves alone is then told apart from what it erased.
        player->fillFlash(0, Protocol::kMemorySize, 0x00);
        ASSERT_EQ(app.OpenDevice(), 0);
        player->recordOutputReports(true);
    }

    QString file(const WavBuilder& wav)
    {
        const QString path = dir.filePath(QStringLiteral("brano%1.wav").arg(++files));
        EXPECT_TRUE(wav.writeTo(path));
        return path;
    }

    LoadResult download(const WavBuilder& wav, int mode, int track,
                        const QString& title = QStringLiteral("Titolo"))
    {
        const auto slot = TrackSlot::forTrack(mode, track);
        return app.DownloadTrack(file(wav), title, slot->start, slot->length, controls);
    }

    // Addresses of the committed blocks, in the order written.
    std::vector<std::uint32_t> commits() const { return commitAddresses(player->outputReports()); }

    Bytes flash(std::uint32_t from, std::uint32_t length) const
    {
        const Bytes all = player->flash();
        return Bytes(all.begin() + from, all.begin() + from + length);
    }

    FaultInjectingPlayer* player = nullptr;
    // The configuration as the main window's controls would give it.
    DeviceConfig controls{0, 0x03, 60};
    QTemporaryDir dir;
    int files = 0;
};

TEST_F(DownloadTrack, AShortTrackInAnEightSlotPartition)
{
    const Bytes samples = WavBuilder::samples(1000);
    app.m_Config = {0x80, 0x12, 60};
    ASSERT_EQ(
        download(WavBuilder::deviceFormat().data(samples), 3, 0, "Un titolo lungo più di trenta caratteri"),
        LoadResult::Done);

    // The configuration goes first, then the header, the samples and the end mark.
    const auto reports = player->outputReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(Bytes(reports[0].begin(), reports[0].begin() + 6),
              (Bytes{2, Protocol::CMD_SET_CONFIG, 0, 3, 60, 0}));
    std::vector<std::uint32_t> expected{0x00000, 0x00040};
    for (std::uint32_t a = 0x80; a < 0x440; a += 64) {
        expected.push_back(a);
    }
    expected.push_back(0x10000);
    EXPECT_EQ(commits(), expected);

    Bytes header(128, 0);
    const std::string title = "Un titolo lungo pi\xF9 di trenta ";
    std::copy(title.begin(), title.end(), header.begin() + 3);
    EXPECT_EQ(flash(0, 128), header);
    EXPECT_EQ(flash(0x80, 960), Bytes(samples.begin(), samples.begin() + 960));
    // The rest of sector 0 and all of sector 1 were erased; the next slot is as it was.
    EXPECT_EQ(flash(0x440, kSector - 0x440), Bytes(kSector - 0x440, 0xFF));
    EXPECT_EQ(flash(kSector, kSector), Bytes(kSector, 0xFF));
    EXPECT_EQ(flash(2 * kSector, kSector), Bytes(kSector, 0x00));

    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_EQ(ui.progress[0].text, "Download file audio in corso...");
    EXPECT_EQ(ui.progress[0].detail, "\"Un titolo lungo più di trenta caratteri\" nel brano 1 di 8");
    EXPECT_EQ(ui.progress[0].upper, 0x1FF7F);
    EXPECT_EQ(ui.progress[0].positions.front(), 192);
    EXPECT_EQ(ui.progress[0].positions.back(), 1088);
    EXPECT_EQ(ui.progress[0].positions.size(), 15u);
    EXPECT_FALSE(ui.progress[0].open);
    EXPECT_EQ(app.m_Config, controls) << "the program holds the configuration it sent";
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(DownloadTrack, EndMarksFollowWhereTheSamplesEnd)
{
    struct Case
    {
        const char* what;
        std::size_t samples;
        int mode, track;
        std::vector<std::uint32_t> marks;
    };
    const Case cases[] = {
        {"samples filling sector 0 exactly", 65408, 2, 0, {0x10000, 0x20000, 0x30000}},
        {"a track of one block", 64, 0, 3, {}},
        {"a track in the second half", 70000, 1, 1, {0xA0000, 0xB0000, 0xC0000, 0xD0000, 0xE0000, 0xF0000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        player->recordOutputReports(true);
        ASSERT_EQ(download(WavBuilder::deviceFormat().data(WavBuilder::samples(c.samples)), c.mode, c.track),
                  LoadResult::Done);
        const auto all = commits();
        const std::size_t blocks = 2 + c.samples / 64;
        ASSERT_GE(all.size(), blocks);
        const std::vector<std::uint32_t> marks(all.begin() + static_cast<std::ptrdiff_t>(blocks), all.end());
        if (c.mode == 0) {
            EXPECT_EQ(marks.size(), 15u);
            EXPECT_EQ(marks.front(), 0x10000u);
            EXPECT_EQ(marks.back(), 0xF0000u);
        } else {
            EXPECT_EQ(marks, c.marks);
        }
        for (std::uint32_t mark : marks) {
            EXPECT_EQ(flash(mark, 64), Bytes(64, 0xFF));
        }
    }
}

TEST_F(DownloadTrack, AFileWithLessThanOneBlockOfSamplesIsRefusedAndNothingIsSent)
{
    for (std::size_t samples : {std::size_t{0}, std::size_t{63}}) {
        SCOPED_TRACE(samples);
        player->recordOutputReports(true);
        EXPECT_EQ(download(WavBuilder::deviceFormat().data(WavBuilder::samples(samples)), 2, 1),
                  LoadResult::Refused);
        EXPECT_TRUE(commits().empty());
        ASSERT_FALSE(ui.messages.isEmpty());
        EXPECT_TRUE(ui.messages.back().contains("non contiene suoni")) << ui.messages.back().toStdString();
    }
}

TEST_F(DownloadTrack, AStoppedDownloadClosesTheSlotAfterTheBlockUnderWayAndSaysWhatItHolds)
{
    ui.stopAfterPositions = 400;
    player->recordOutputReports(true);
    EXPECT_EQ(download(WavBuilder::deviceFormat().data(WavBuilder::samples(44100)), 2, 1),
              LoadResult::Stopped);
    const auto all = commits();
    // Header, 400 sample blocks, then the end marks of the slot's three later sectors.
    ASSERT_EQ(all.size(), 2u + 400u + 3u);
    EXPECT_EQ(all[401], 0x40000u + 128u + 399u * 64u);
    EXPECT_EQ(std::vector<std::uint32_t>(all.begin() + 402, all.end()),
              (std::vector<std::uint32_t>{0x50000, 0x60000, 0x70000}));
    EXPECT_EQ(ui.messages,
              QStringList{"Download interrotto: il brano sul lettore contiene solo i primi 1,2 s del file."});
}

TEST_F(DownloadTrack, AFileLongerThanItsSlotFillsItToTheLastBlock)
{
    const Bytes samples = WavBuilder::samples(200000);
    ASSERT_EQ(download(WavBuilder::deviceFormat().data(samples), 3, 0), LoadResult::Done);
    const auto all = commits();
    EXPECT_EQ(all.size(), 2u + 2044u);
    EXPECT_EQ(all.back(), 0x1FF40u) << "no end marks after a full slot";
    EXPECT_EQ(flash(0x80, 130816), Bytes(samples.begin(), samples.begin() + 130816));
    EXPECT_EQ(flash(0x1FF80, 128), Bytes(128, 0xFF)) << "the slot's last 128 bytes are only erased";
    EXPECT_EQ(ui.progress[0].positions.back(), 0x1FF80) << "the last position is one past the range";
}

TEST_F(DownloadTrack, OnlyTheDataChunksSamplesAreSent)
{
    const Bytes samples = WavBuilder::samples(640, 7);
    const Bytes list{'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 5, 0, 0, 0, 'A', 'b', 'c', 'd', 'e'};
    const WavBuilder files[] = {
        WavBuilder()
            .fmt(1, 1, 22050, 8, 2)
            .fact(640)
            .chunk("LIST", list)
            .data(samples)
            .chunk("id3 ", Bytes(300, 1)),
        WavBuilder::deviceFormat().chunk("JUNK", Bytes(27, 0)).data(samples).raw(Bytes(100, 0x11)),
        // A "data" chunk claiming more than the file holds, as streamed files do.
        WavBuilder::deviceFormat().dataDeclaring(0xFFFFFFFF, samples),
    };
    for (const WavBuilder& wav : files) {
        player->recordOutputReports(true);
        ASSERT_EQ(download(wav, 3, 1), LoadResult::Done);
        EXPECT_EQ(flash(0x20080, 640), samples);
        EXPECT_EQ(flash(0x20080 + 640, 64), Bytes(64, 0xFF));
        EXPECT_EQ(commits().size(), 2u + 10u + 1u);
    }
}

TEST_F(DownloadTrack, RefusedFilesLeaveThePlayerUntouched)
{
    const Bytes samples = WavBuilder::samples(640);
    const WavBuilder files[] = {
        WavBuilder().fmt(1, 1, 22050, 16).data(samples),
        WavBuilder().fmt(1, 2, 22050, 8).data(samples),
        WavBuilder().fmt(1, 1, 44100, 8).data(samples),
        WavBuilder().fmt(2, 1, 22050, 8).data(samples),
        WavBuilder().raw(Bytes{0xFF, 0xFB, 0x90, 0x64}).raw(samples),
        WavBuilder::deviceFormat(),
    };
    const Bytes before = player->flash();
    app.m_Config = {0x80, 0x12, 60};
    for (const WavBuilder& wav : files) {
        ui.messages.clear();
        EXPECT_EQ(download(wav, 0, 0), LoadResult::Refused);
        EXPECT_EQ(ui.messages, QStringList{"Errore: formato file inadatto!"});
    }
    EXPECT_EQ(app.m_Config, (DeviceConfig{0x80, 0x12, 60})) << "nothing was sent, so nothing changed";
    EXPECT_TRUE(player->outputReports().empty());
    EXPECT_TRUE(ui.progress.empty());
    EXPECT_EQ(player->flash(), before);
}

TEST_F(DownloadTrack, OnlyRegularFilesAreOpenedAndEachRefusalSaysWhy)
{
    const QString missing = dir.filePath(QStringLiteral("manca.wav"));
    const QString folder = dir.filePath(QStringLiteral("cartella.wav"));
    ASSERT_TRUE(QDir().mkdir(folder));
    struct Case
    {
        QString path;
        QString says;
    };
    std::vector<Case> cases = {
        {missing, QStringLiteral("non esiste")},
        {folder, QStringLiteral("non è un file audio ma una cartella")},
    };
#ifdef Q_OS_UNIX
    // Opening a FIFO waits for a writer, reading a device never ends: neither may be opened at all.
    const QString fifo = dir.filePath(QStringLiteral("pipe.wav"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString device = dir.filePath(QStringLiteral("casuale.wav"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/urandom"), device));
    cases.push_back({fifo, QStringLiteral("non è un file audio ma una pipe con nome (FIFO)")});
    cases.push_back({device, QStringLiteral("non è un file audio ma un dispositivo")});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        ui.messages.clear();
        const auto start = Clock::now();
        EXPECT_EQ(app.DownloadTrack(c.path, QStringLiteral("x"), 0, 0xFFF7F, controls),
                  LoadResult::FileFailed);
        EXPECT_LT(Clock::now() - start, 1s);
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(ui.messages[0].contains(QDir::toNativeSeparators(c.path)));
        EXPECT_TRUE(ui.messages[0].contains(c.says)) << ui.messages[0].toStdString();
    }
    EXPECT_TRUE(player->outputReports().empty());
    EXPECT_TRUE(ui.progress.empty());
}

TEST_F(DownloadTrack, AFileThatShrinksOrChangesMeanwhileIsNotPassedOffAsLoaded)
{
    struct Case
    {
        const char* what;
        std::function<void(const QString&)> meddle;
        QString says;
    };
    const Case cases[] = {
        {"shortened", [](const QString& path) { QFile::resize(path, 2000); },
         QStringLiteral("si è accorciato mentre veniva letto")},
        {"rewritten in place",
         [](const QString& path) {
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             file.seek(file.size() - 64);
             file.write(QByteArray(64, 'x'));
             file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
         },
         QStringLiteral("è cambiato mentre veniva letto")},
    };
    player->setAckDelay(1ms);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.messages.clear();
        // Longer than what a read buffers ahead, so that the shortening is met by a read.
        const QString path = file(WavBuilder::deviceFormat().data(WavBuilder::samples(64 * 400)));
        bool meddled = false;
        ui.onEvents = [&] {
            if (!std::exchange(meddled, true)) {
                c.meddle(path);
            }
        };
        EXPECT_EQ(app.DownloadTrack(path, QStringLiteral("x"), 0, 0xFFF7F, controls), LoadResult::FileFailed);
        ASSERT_TRUE(meddled) << "the download ended before the file could be changed";
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(ui.messages[0].contains(c.says)) << ui.messages[0].toStdString();
        EXPECT_FALSE(ui.progress.back().open);
    }
}

TEST_F(DownloadTrack, ALostPlayerStopsTheDownloadAtOnce)
{
    const Bytes samples = WavBuilder::samples(64 * 100);
    // The configuration, both header blocks and ten sample blocks get through.
    player->failWritesAfter(1 + 3 * 12);
    const auto start = Clock::now();
    EXPECT_EQ(download(WavBuilder::deviceFormat().data(samples), 0, 0), LoadResult::DeviceFailed);
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_EQ(commits().size(), 12u) << "nothing is sent after the failed block";
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].startsWith(QStringLiteral("Download del brano non riuscito")));
    EXPECT_TRUE(
        ui.messages[0].contains(QStringLiteral("Sono arrivati al lettore 640 byte del brano su 6400")));
    EXPECT_FALSE(ui.progress[0].open) << "the progress window goes before the message";
}

TEST_F(DownloadTrack, AnUnacknowledgedBlockStopsTheDownload)
{
    player->setAckEnabled(false);
    const auto start = Clock::now();
    EXPECT_EQ(download(WavBuilder::deviceFormat().data(WavBuilder::samples(6400)), 0, 0),
              LoadResult::DeviceFailed);
    EXPECT_LT(Clock::now() - start, 2 * ReportProtocol::kAckTimeout);
    EXPECT_EQ(commits().size(), 1u);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains(QStringLiteral("0 byte del brano su 6400")));
}

TEST_F(DownloadTrack, ASecondDownloadCannotStartWhileOneRuns)
{
    player->setAckDelay(2ms);
    LoadResult nested = LoadResult::Refused;
    const QString other = file(WavBuilder::deviceFormat().data(WavBuilder::samples(64)));
    ui.onEvents = [&] {
        if (nested == LoadResult::Refused) {
            nested = app.DownloadTrack(other, QStringLiteral("altro"), 0x80000, 0x7FF7F, controls);
        }
    };
    ASSERT_EQ(download(WavBuilder::deviceFormat().data(WavBuilder::samples(64 * 40)), 1, 0),
              LoadResult::Done);
    EXPECT_EQ(nested, LoadResult::Busy);
    for (std::uint32_t address : commits()) {
        EXPECT_LT(address, 0x80000u);
    }
}

} // namespace
