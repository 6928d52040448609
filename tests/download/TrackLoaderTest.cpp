#include "AudioFileMaker.h"
#include "BlockCommits.h"
#include "LinkFixture.h"
#include "WavBuilder.h"

#include "device/Protocol.h"
#include "download/TrackLoader.h"
#include "download/TrackSlot.h"

#include <QTemporaryDir>

#include <algorithm>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The Load command past the open-file dialog: the questions it asks, and what reaches the player.
class TrackLoaderTest : public LinkFixture
{
protected:
    void SetUp() override
    {
        player = &useSimulatedPlayer();
        ASSERT_EQ(app.OpenDevice(), 0);
        player->recordOutputReports(true);
    }

    // Into a player already divided so: no question about re-partitioning.
    LoadResult load(const QString& path, int mode, int track = 0)
    {
        app.m_Config = DeviceConfig::fromControls(false, mode, false, 60);
        return app.LoadFile(path, track, mode, controls);
    }

    QString sine(const char* name, const AudioFileMaker::Format& format, double seconds)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_EQ(AudioFileMaker::write(path, format, seconds, AudioFileMaker::sine(440, 0.5, format.rate)),
                  "");
        return path;
    }

    std::vector<std::uint32_t> commits() const { return commitAddresses(player->outputReports()); }

    FaultInjectingPlayer* player = nullptr;
    DeviceConfig controls{0, 0x02, 60};
    QTemporaryDir dir;
};

TEST_F(TrackLoaderTest, AFileInThePlayersFormatGoesStraightThroughWithoutAQuestion)
{
    const Bytes samples = WavBuilder::samples(6400);
    const QString path = dir.filePath(QStringLiteral("pronto.wav"));
    ASSERT_TRUE(WavBuilder::deviceFormat().data(samples).writeTo(path));
    EXPECT_EQ(load(path, 2), LoadResult::Done);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(ui.progressTexts.isEmpty()) << "nothing to convert";
    const Bytes flash = player->flash();
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), flash.begin() + 128));
}

TEST_F(TrackLoaderTest, ATrackLongerThanItsSlotIsCutOnlyAfterTheUserAgreed)
{
    // 60 s of CD-quality sound into one of four slots, which hold 0:11.
    const QString path = sine("lungo.wav", {"wav", "pcm_s16le", 44100, 2}, 60);
    for (const bool agreed : {false, true}) {
        SCOPED_TRACE(agreed ? "agreed" : "declined");
        ui.messages.clear();
        player->recordOutputReports(true);
        // Convert, then the length.
        ui.answers = {true, agreed};
        EXPECT_EQ(load(path, 2, 1), agreed ? LoadResult::Done : LoadResult::Cancelled);
        ASSERT_EQ(ui.messages.size(), 2);
        EXPECT_TRUE(ui.messages[0].contains("WAV")) << ui.messages[0].toStdString();
        EXPECT_TRUE(ui.messages[0].contains("44100 Hz, stereo, 1:00")) << ui.messages[0].toStdString();
        EXPECT_TRUE(ui.messages[1].contains("dura 1:00, ma lo spazio scelto ne contiene solo 0:11"))
            << ui.messages[1].toStdString();
        if (!agreed) {
            EXPECT_TRUE(player->outputReports().empty()) << "nothing is sent before every answer";
            continue;
        }
        // The whole slot: its 4092 blocks of samples after the two of the header, and no end mark.
        const std::vector<std::uint32_t> blocks = commits();
        ASSERT_EQ(blocks.size(), 2u + 4092u);
        EXPECT_EQ(blocks.front(), 0x40000u);
        EXPECT_EQ(blocks.back(), 0x7FF40u);
        EXPECT_EQ(ui.progressTexts.back(), "Conversione del file audio in corso...");
    }
}

TEST_F(TrackLoaderTest, AConvertedTrackReplacesTheSlotAndEndsWithItsMarks)
{
    const QString path = sine("breve.mp3", {"mp3", "libmp3lame", 44100, 2, 128000}, 2);
    ui.answers = {true};
    EXPECT_EQ(load(path, 2, 3), LoadResult::Done);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains("MP3, 44100 Hz, stereo, 0:02")) << ui.messages[0].toStdString();
    EXPECT_TRUE(ui.askedChecked.at(0)) << "the volume is brought up unless the user says otherwise";
    // About two seconds of samples, then an end mark at the start of each later sector of the slot.
    const std::vector<std::uint32_t> blocks = commits();
    ASSERT_GT(blocks.size(), 2u + 600u);
    EXPECT_LT(blocks.size(), 2u + 720u);
    EXPECT_EQ(blocks.front(), 0xC0000u);
    const std::vector<std::uint32_t> marks(blocks.end() - 3, blocks.end());
    EXPECT_EQ(marks, (std::vector<std::uint32_t>{0xD0000, 0xE0000, 0xF0000}));
    // The samples swing around the middle of the 8-bit range, as a tone does.
    const Bytes flash = player->flash();
    const auto [low, high] = std::minmax_element(flash.begin() + 0xC0080, flash.begin() + 0xC0080 + 22050);
    EXPECT_LT(*low, 0x40);
    EXPECT_GT(*high, 0xC0);
}

TEST_F(TrackLoaderTest, NothingIsSentWhenTheUserDeclinesCancelsOrTheFileIsNoSound)
{
    const QString song = sine("canzone.flac", {"flac", "flac", 44100, 2}, 1);
    const QString noise = dir.filePath(QStringLiteral("rumore.mp3"));
    ASSERT_TRUE(WavBuilder().raw(WavBuilder::samples(5000)).writeTo(noise));

    ui.answers = {false};
    EXPECT_EQ(load(song, 2), LoadResult::Cancelled);

    ui.answers = {true};
    ui.cancelWork = true;
    EXPECT_EQ(load(song, 2), LoadResult::Cancelled);
    ui.cancelWork = false;

    ui.messages.clear();
    EXPECT_EQ(load(noise, 2), LoadResult::Refused);
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].contains("rumore.mp3")) << ui.messages[0].toStdString();

    EXPECT_TRUE(player->outputReports().empty());
}

} // namespace
