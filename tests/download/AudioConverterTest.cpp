#include "ConversionFixture.h"
#include "FileSizeLimit.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <thread>

namespace {

TEST_F(AudioConverterTest, StopsExactlyAtMaxSamplesAndReportsProgressUpToTheEnd)
{
    const QString wav = tone("two-seconds.wav", {"wav", "pcm_s16le"}, 2.0);
    const QString mp3 = tone("two-seconds.mp3", {"mp3", "libmp3lame"}, 2.0);
    for (const QString& path : {wav, mp3}) {
        for (const bool normalise : {false, true}) {
            SCOPED_TRACE(path.toStdString() + (normalise ? " normalised" : ""));
            const Output cut = convert(path, {.normalise = normalise, .maxSamples = 12345});
            ASSERT_EQ(cut.result, Result::Done) << cut.error.toStdString();
            EXPECT_EQ(cut.written, 12345u);
            EXPECT_NEAR(frequencyOf(middle(cut.samples, 1000), 0.3), 1000, 1);

            const Output whole = convert(path, {.normalise = normalise});
            ASSERT_EQ(whole.result, Result::Done) << whole.error.toStdString();
            EXPECT_NEAR(static_cast<double>(whole.written), 2 * kRate, 2);
            ASSERT_FALSE(whole.progress.empty());
            EXPECT_TRUE(std::is_sorted(whole.progress.begin(), whole.progress.end()));
            EXPECT_GE(whole.progress.front(), 0);
            EXPECT_EQ(whole.progress.back(), 1);
        }
    }
    EXPECT_EQ(convert(wav, {.maxSamples = 0}).written, 0u);
}

TEST_F(AudioConverterTest, AStopRequestCancelsAndLeavesNothingBehind)
{
    const QString path = tone("tone.flac", {"flac", "flac"}, 2.0);
    const QStringList before = entries();
    const struct
    {
        const char* name;
        bool normalise;
        double stopAt; // the progress at which the stop is requested; < 0: before the start
    } cases[] = {{"before the start", true, -1},
                 {"first progress", false, 0},
                 {"first pass", true, 0.3},
                 {"second pass", true, 0.91}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::stop_source source;
        if (c.stopAt < 0) {
            source.request_stop();
        }
        const Output out =
            convert(path, {.normalise = c.normalise}, source.get_token(), [&](double fraction) {
                if (fraction >= c.stopAt && c.stopAt >= 0) {
                    source.request_stop();
                }
            });
        EXPECT_EQ(out.result, Result::Cancelled);
        EXPECT_EQ(out.written, 0u);
        EXPECT_EQ(entries(), before);
    }
}

TEST_F(AudioConverterTest, AFileThatCannotBeWrittenFailsAndLeavesNothingBehind)
{
    const QString path = tone("tone.wav", {"wav", "pcm_s16le"}, 5.0);
    const QStringList before = entries();
    QString error;
    const QString unreachable = dir.filePath("missing-folder/out.wav");
    EXPECT_EQ(AudioConverter::convert(path, unreachable, {}, {}, {}, error), Result::Failed);
    EXPECT_NE(error.toStdString().find(QDir::toNativeSeparators(unreachable).toStdString()),
              std::string::npos)
        << error.toStdString();

    // A full disk, both while the normalising pass writes its floats and while the WAV file is written.
    for (const bool normalise : {false, true}) {
        FileSizeLimit full(64 * 1024);
        ASSERT_TRUE(full.active());
        const Output out = convert(path, {.normalise = normalise});
        EXPECT_EQ(out.result, Result::Failed);
        EXPECT_FALSE(out.error.isEmpty());
        EXPECT_EQ(entries(), before);
    }
}

TEST_F(AudioConverterTest, ConversionsRunOnSeveralThreadsAtOnce)
{
    const QString paths[] = {tone("a.mp3", {"mp3", "libmp3lame"}, 2.0),
                             tone("b.ogg", {"ogg", "libvorbis"}, 2.0)};
    Output outs[2];
    {
        std::vector<std::jthread> workers;
        for (int i = 0; i < 2; ++i) {
            workers.emplace_back([&, i] {
                const QString target = dir.filePath(QStringLiteral("out%1.wav").arg(i));
                outs[i].result =
                    AudioConverter::convert(paths[i], target, {}, {}, {}, outs[i].error, &outs[i].written);
            });
        }
        for (int i = 0; i < 20; ++i) {
            QString error;
            EXPECT_TRUE(AudioConverter::probe(paths[i % 2], error)) << error.toStdString();
        }
    }
    for (const Output& out : outs) {
        EXPECT_EQ(out.result, Result::Done) << out.error.toStdString();
        EXPECT_NEAR(static_cast<double>(out.written), 2 * kRate, 0.03 * kRate);
    }
}

} // namespace
