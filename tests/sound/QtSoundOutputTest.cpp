#include "sound/QtSoundOutput.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <utility>
#include <vector>

namespace {

constexpr int kRate = 22050;
// Further from silence than the resampling and 8-bit rounding of the server's path ever put a quiet sample.
constexpr int kSounding = 24;

// 400 ms sweeping from 200 Hz to 3 kHz: its shape matches itself at one lag only.
std::vector<std::uint8_t> chirp()
{
    const int count = kRate * 4 / 10;
    std::vector<std::uint8_t> samples(count);
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / kRate;
        const double phase = 2 * std::numbers::pi * (200 * t + (3000 - 200) / 0.4 / 2 * t * t);
        samples[std::size_t(i)] = std::uint8_t(std::lround(128 + 100 * std::sin(phase)));
    }
    return samples;
}

// The first and one past the last sounding sample.
std::pair<std::size_t, std::size_t> sounding(const QByteArray& recording)
{
    std::size_t first = std::size_t(recording.size()), end = 0;
    for (std::size_t i = 0; i < std::size_t(recording.size()); ++i) {
        if (std::abs(int(std::uint8_t(recording[qsizetype(i)])) - 128) > kSounding) {
            first = std::min(first, i);
            end = i + 1;
        }
    }
    return {first, end};
}

// The normalised cross-correlation of the samples with the recording, at the best lag near where it starts
// sounding. The server's monitor leaves out the first of its blocks (5 ms, as parec asks) of a stream that
// starts while it records, so the samples may begin a little before the recording sounds.
double bestCorrelation(const std::vector<std::uint8_t>& samples, const QByteArray& recording,
                       std::size_t near)
{
    auto at = [&](std::size_t i) {
        return double(std::uint8_t(recording[qsizetype(i)])) - 128;
    };
    double best = -1;
    const std::size_t from = near > kRate / 50 ? near - kRate / 50 : 0;
    for (std::size_t lag = from; lag <= near + 50 && lag + samples.size() <= std::size_t(recording.size());
         ++lag) {
        double both = 0, given = 0, heard = 0;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const double a = double(samples[i]) - 128, b = at(lag + i);
            both += a * b;
            given += a * a;
            heard += b * b;
        }
        best = std::max(best, both / std::sqrt(given * heard + 1e-9));
    }
    return best;
}

// What a private sound server (scripts/with-sound-server) records of its null sink while QtSoundOutput plays.
class QtSoundOutputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        monitor = qEnvironmentVariable("ZOFFINO_SOUND_MONITOR");
        if (monitor.isEmpty()) {
            GTEST_SKIP() << "No sound server of the test's own: ctest runs this test under "
                            "scripts/with-sound-server, which needs pulseaudio (scripts/setup installs it)";
        }
    }

    QString monitor;
};

TEST_F(QtSoundOutputTest, TheServerHearsTheSamplesAsGivenAfterAStoppedOne)
{
    QtSoundOutput sound;
    ASSERT_EQ(sound.unavailable(), QString());
    // A long sound stopped early: stopping is at once, and what was heard stays put.
    ASSERT_TRUE(sound.play(std::vector<std::uint8_t>(kRate * 3, 0)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return sound.position() > 0; }, 5000));
    sound.stop();
    EXPECT_FALSE(sound.playing());
    const std::uint64_t stoppedAt = sound.position();
    EXPECT_GT(stoppedAt, 0u);
    EXPECT_LT(stoppedAt, std::uint64_t(kRate * 3));

    QProcess parec;
    QByteArray recording;
    QObject::connect(&parec, &QProcess::readyReadStandardOutput,
                     [&] { recording += parec.readAllStandardOutput(); });
    parec.start(QStringLiteral("parec"), {QStringLiteral("-d"), monitor, QStringLiteral("--rate=22050"),
                                          QStringLiteral("--channels=1"), QStringLiteral("--format=u8"),
                                          QStringLiteral("--raw"), QStringLiteral("--latency-msec=5")});
    ASSERT_TRUE(parec.waitForStarted(5000)) << qPrintable(parec.errorString());
    // The monitor sends silence as soon as it records: the recording has begun.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recording.isEmpty(); }, 5000));
    EXPECT_EQ(sounding(recording).second, 0u) << "sound after stop()";

    const std::vector<std::uint8_t> samples = chirp();
    ASSERT_TRUE(sound.play(samples));
    EXPECT_TRUE(sound.playing());
    ASSERT_TRUE(QTest::qWaitFor([&] { return sound.position() > 0; }, 5000));
    const std::uint64_t early = sound.position();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sound.playing(); }, 5000));
    EXPECT_GT(sound.position(), early);
    EXPECT_EQ(sound.position(), samples.size());
    const qsizetype ended = recording.size();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recording.size() > ended + kRate / 4; }, 5000));
    parec.terminate();
    ASSERT_TRUE(parec.waitForFinished(5000));
    recording += parec.readAllStandardOutput();

    const auto [first, end] = sounding(recording);
    ASSERT_LT(first, end) << "the server heard nothing";
    const auto [givenFirst, givenEnd] =
        sounding(QByteArray(reinterpret_cast<const char*>(samples.data()), qsizetype(samples.size())));
    EXPECT_NEAR(double(end - first), double(givenEnd - givenFirst), kRate * 0.05);
    EXPECT_GE(bestCorrelation(samples, recording, first), 0.98);
    // Not playing once the sound is over, rather than until the server's buffer would have run dry.
    EXPECT_LT(std::size_t(ended), end + kRate / 4);
}

// With no server the output says why in words for the user, and playing fails at once rather than hangs.
TEST(QtSoundOutputWithoutServerTest, SaysWhyAndRefusesToPlay)
{
    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:/nonexistent/zoffino/native"));
    probe.setProcessEnvironment(environment);
    probe.start(QStringLiteral(ZOFFINO_SOUND_PROBE), {});
    ASSERT_TRUE(probe.waitForFinished(10000)) << "still waiting for a sound server that is not there";
    const QStringList lines = QString::fromLocal8Bit(probe.readAllStandardOutput()).split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("refused"));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("uscita audio"))) << qPrintable(lines[1]);
}

} // namespace
