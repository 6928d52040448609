#include "download/TrackSource.h"

#include "ConversionFixture.h"
#include "FileSizeLimit.h"
#include "WavBuilder.h"

#include <QFile>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <numbers>
#include <numeric>
#include <thread>

// A sound file read once into its envelope and its samples, and the parts of it rendered into the player's
// bytes, as the track window and the command line use it.
namespace {

using State = TrackSource::State;
using namespace std::chrono_literals;

constexpr std::uint64_t kOneSlot = 1'048'320; // 47.5 s

class TrackSourceTest : public AudioConverterTest
{
protected:
    std::unique_ptr<TrackSource> readWhole(const QString& path)
    {
        auto source = std::make_unique<TrackSource>(path);
        const QString error = source->open();
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        const TrackSource::Progress read = source->read();
        EXPECT_EQ(read.state, State::Done) << read.error.toStdString();
        return source;
    }

    static std::vector<std::uint8_t> render(const TrackSource& source, const TrackPart& part)
    {
        QString error;
        const auto bytes = source.render(part, error);
        EXPECT_TRUE(bytes) << error.toStdString();
        EXPECT_EQ(bytes.value_or(std::vector<std::uint8_t>()).size(), part.length);
        return bytes.value_or(std::vector<std::uint8_t>());
    }

    static double rms(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t count)
    {
        double sum = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            sum += (bytes[i] - 128.0) * (bytes[i] - 128.0);
        }
        return std::sqrt(sum / static_cast<double>(count)) / 128;
    }

    // Waits for the reading on the source's thread to leave Reading, a few seconds at most.
    static TrackSource::Progress waitForEnd(const TrackSource& source)
    {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        TrackSource::Progress now = source.progress();
        while (now.state == State::Reading && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
            now = source.progress();
        }
        return now;
    }
};

TEST_F(TrackSourceTest, ThePlayersOwnSamplesGoThroughBitForBit)
{
    // WAVE_FORMAT_EXTENSIBLE with a "fact" chunk: not the plain header the player's own files have.
    std::vector<std::uint8_t> format = {0xFE, 0xFF, 1,    0, 0x22, 0x56, 0, 0,    0x22, 0x56, 0,    0,   1, 0,
                                        8,    0,    22,   0, 8,    0,    4, 0,    0,    0,    1,    0,   0, 0,
                                        0,    0,    0x10, 0, 0x80, 0,    0, 0xAA, 0,    0x38, 0x9B, 0x71};
    const std::vector<std::uint8_t> samples = WavBuilder::samples(44096);
    const QString path = dir.filePath("extensible.wav");
    ASSERT_TRUE(WavBuilder().chunk("fmt ", format).fact(44096).data(samples).writeTo(path));

    const auto source = readWhole(path);
    EXPECT_TRUE(source->playerSamples());
    ASSERT_EQ(source->progress().samples, samples.size());
    const TrackPart whole = source->resolve({}, kOneSlot);
    EXPECT_EQ(whole, (TrackPart{0, samples.size(), 0, 0, false}));
    EXPECT_EQ(render(*source, whole), samples);
    // A part of it, fades off: the same bytes as that range of the file.
    TrackPart inner = source->partAt(1000, 20000, false);
    inner.fadeIn = inner.fadeOut = 0;
    EXPECT_EQ(render(*source, inner),
              std::vector<std::uint8_t>(samples.begin() + 1000, samples.begin() + 21000));
    // The converter, normalisation off, writes them as they are too.
    const Output converted = convert(path, {.normalise = false});
    ASSERT_EQ(converted.result, Result::Done) << converted.error.toStdString();
    EXPECT_EQ(converted.samples, samples);

    // A 16-bit file is not the player's: by default it is normalised, and rendered with dither.
    const QString pcm16 = tone("pcm16.wav", {"wav", "pcm_s16le", 22050, 1});
    EXPECT_FALSE(readWhole(pcm16)->playerSamples());
    EXPECT_TRUE(readWhole(pcm16)->resolve({}, kOneSlot).normalise);
}

TEST_F(TrackSourceTest, NormalisingRemovesTheOffsetAndBringsThePeakToMinusOneDecibel)
{
    // Stored around 199 instead of 128, with a small tone on top.
    const QString path = make("offset.wav", {"wav", "pcm_u8", 22050, 1}, 3.0, [](int, std::int64_t i) {
        return (199 - 128) / 128.0 +
               0.05 * std::sin(2 * std::numbers::pi * 440 * static_cast<double>(i) / 22050);
    });
    const auto source = readWhole(path);
    const TrackPart part = source->resolve({.normalise = true}, kOneSlot);
    ASSERT_TRUE(part.normalise);
    const std::vector<std::uint8_t> out = render(*source, part);
    ASSERT_EQ(out.size(), 3u * 22050);
    const double mean = std::accumulate(out.begin(), out.end(), 0.0) / static_cast<double>(out.size());
    EXPECT_NEAR(mean, 128, 1);
    EXPECT_NEAR(dB(peakOf(out)), -1, 0.2);
    // From the first sample on: the filter starts settled, so the offset does not fade away audibly.
    const std::vector<std::uint8_t> start(out.begin(), out.begin() + 2205);
    EXPECT_NEAR(std::accumulate(start.begin(), start.end(), 0.0) / 2205, 128, 2);
    EXPECT_NEAR(dB(peakOf(start)), -1, 0.3);
    // The same part, the same bytes: what is loaded is what was heard.
    EXPECT_EQ(render(*source, part), out);
}

TEST_F(TrackSourceTest, PartsFadeWhereTheyCutAndTheLoudestIsFound)
{
    // 12 s quiet, 10 s loud, 8 s quiet.
    const QString path =
        make("loud-middle.wav", {"wav", "pcm_s16le", 44100, 2}, 30.0, [](int, std::int64_t i) {
            const double level = i >= 12 * 44100 && i < 22 * 44100 ? 0.5 : 0.02;
            return level * std::sin(2 * std::numbers::pi * 1000 * static_cast<double>(i) / 44100);
        });
    const auto source = readWhole(path);
    const std::uint64_t samples = source->progress().samples;
    const std::uint64_t tenSeconds = 10 * 22050;
    EXPECT_NEAR(static_cast<double>(source->loudestStart(tenSeconds)), 12 * 22050,
                TrackSource::kColumnSamples);
    const TrackPart loudest = source->resolve({.loudest = true}, tenSeconds);
    EXPECT_EQ(loudest.start, source->loudestStart(tenSeconds));
    EXPECT_EQ(loudest.fadeIn, TrackPart::kCutFade);
    EXPECT_EQ(loudest.fadeOut, TrackPart::kCutFade);

    // Fades only where the part cuts into the sound; a start too late for the slot moves back.
    EXPECT_EQ(source->partAt(0, tenSeconds, true).fadeIn, 0);
    const TrackPart last = source->partAt(samples, tenSeconds, true);
    EXPECT_EQ(last.start, samples - tenSeconds);
    EXPECT_EQ(last.fadeOut, 0);
    const TrackPart fromRequest =
        source->resolve({.startSeconds = 13.5, .fadeIn = 1.0, .fadeOut = 5.0}, tenSeconds);
    EXPECT_EQ(fromRequest.start, std::uint64_t{297'675}); // 13.5 s
    EXPECT_EQ(fromRequest.fadeIn, 1.0);
    EXPECT_EQ(fromRequest.fadeOut, TrackPart::kMaxFade);

    // On the bytes: from silence up, and down to silence at the end.
    const TrackPart faded{13 * 22050, 8 * 22050, 0.5, 1.0, false};
    const std::vector<std::uint8_t> out = render(*source, faded);
    const std::size_t n = out.size();
    EXPECT_LE(rms(out, 0, 20), 1.5 / 128);
    EXPECT_LE(rms(out, n - 20, 20), 1.5 / 128);
    EXPECT_LT(rms(out, 0, 2205), rms(out, 2205, 2205));
    EXPECT_LT(rms(out, 2205, 2205), rms(out, 8820, 2205));
    EXPECT_NEAR(rms(out, 44100, 22050), 0.5 / std::sqrt(2), 0.01);
    EXPECT_LT(rms(out, n - 2205, 2205), rms(out, n - 8820, 2205));
    EXPECT_LT(rms(out, n - 11025, 2205), rms(out, n - 33075, 2205));

    QString error;
    EXPECT_FALSE(source->render({samples - 100, 200}, error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(TrackSourceTest, FilesThatCannotBeReadWholeFailWithTheirReason)
{
    QFile mp3(tone("whole.mp3", {"mp3", "libmp3lame"}, 3.0));
    ASSERT_TRUE(mp3.open(QIODevice::ReadOnly));
    QFile cut(dir.filePath("cut.mp3"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(mp3.read(mp3.size() / 2));
    cut.close();
    QFile flac(tone("whole.flac", {"flac", "flac"}, 3.0));
    ASSERT_TRUE(flac.open(QIODevice::ReadOnly));
    QByteArray bytes = flac.readAll();
    for (qsizetype i = bytes.size() / 2; i < bytes.size() / 2 + 64; ++i) {
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    }
    QFile damaged(dir.filePath("damaged.flac"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(bytes);
    damaged.close();

    for (const auto& [name, reason] :
         {std::pair{"cut.mp3", "incompleto"}, std::pair{"damaged.flac", "danneggiato"}}) {
        SCOPED_TRACE(name);
        TrackSource source(dir.filePath(name));
        ASSERT_TRUE(source.open().isEmpty());
        source.startReading();
        const TrackSource::Progress end = waitForEnd(source);
        EXPECT_EQ(end.state, State::Failed);
        EXPECT_NE(end.error.toStdString().find(reason), std::string::npos) << end.error.toStdString();
        EXPECT_NE(end.error.toStdString().find(name), std::string::npos) << end.error.toStdString();
    }

    // Nothing to open: the reading fails at once with what open() said.
    TrackSource missing(dir.filePath("missing.mp3"));
    const QString refusal = missing.open();
    EXPECT_FALSE(refusal.isEmpty());
    missing.startReading();
    EXPECT_EQ(missing.progress().state, State::Failed);
    EXPECT_EQ(missing.progress().error, refusal);

    // A full disk under the temporary file.
    TrackSource tone5(tone("five.wav", {"wav", "pcm_s16le"}, 5.0));
    ASSERT_TRUE(tone5.open().isEmpty());
    FileSizeLimit full(64 * 1024);
    ASSERT_TRUE(full.active());
    const TrackSource::Progress filled = tone5.read();
    EXPECT_EQ(filled.state, State::Failed);
    EXPECT_NE(filled.error.toStdString().find("spazio libero"), std::string::npos)
        << filled.error.toStdString();
}

TEST_F(TrackSourceTest, TheEnvelopeGrowsWhileReadingAndACancelStopsItPromptly)
{
    // Four periods to a column, so that each column's energy is the tone's own.
    const QString path = make("long.flac", {"flac", "flac", 44100, 1, 0, 0}, 300.0, [](int, std::int64_t i) {
        return 0.3 * std::sin(2 * std::numbers::pi * (22050.0 / 64) * static_cast<double>(i) / 44100);
    });
    const std::uint64_t total = 300 * 22050;
    {
        TrackSource source(path);
        ASSERT_TRUE(source.open().isEmpty());
        source.startReading();
        std::vector<TrackSource::Column> columns;
        TrackSource::Progress now = source.progress(0, &columns);
        while (now.state == State::Reading && now.samples < total / 4) {
            std::this_thread::sleep_for(1ms);
            now = source.progress(columns.size(), &columns);
        }
        ASSERT_EQ(now.state, State::Reading) << "read whole before a quarter was seen";
        // While it reads: whole columns for what is in the file, and any part of that renders.
        EXPECT_EQ(columns.size() * TrackSource::kColumnSamples, now.samples);
        EXPECT_GT(now.fraction, 0);
        EXPECT_NEAR(columns[100].high, 0.3, 0.01);
        EXPECT_NEAR(columns[100].energy / TrackSource::kColumnSamples, 0.045, 0.002);
        render(source, source.partAt(now.samples - 1000, 1000, true));

        const auto cancelled = std::chrono::steady_clock::now();
        source.cancel();
        const TrackSource::Progress end = waitForEnd(source);
        EXPECT_EQ(end.state, State::Cancelled);
        EXPECT_LT(end.samples, total);
        EXPECT_LT(std::chrono::steady_clock::now() - cancelled, 1s);
    }
    // A source dropped while it reads stops and waits for its thread.
    TrackSource dropped(path);
    ASSERT_TRUE(dropped.open().isEmpty());
    dropped.startReading();
}

} // namespace
