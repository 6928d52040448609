#include "download/AudioConverter.h"
#include "download/WavReader.h"

#include "AudioFileMaker.h"
#include "FileSizeLimit.h"
#include "WavBuilder.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <thread>

namespace {

using Format = AudioFileMaker::Format;
using Options = AudioConverter::Options;
using Result = AudioConverter::Result;

constexpr int kRate = 22050;
constexpr double kAmplitude = 0.5;

struct Output
{
    Result result = Result::Failed;
    QString error;
    std::uint64_t written = 0;
    std::vector<std::uint8_t> samples;
    std::vector<double> progress;
};

double dB(double ratio)
{
    return 20 * std::log10(ratio);
}

// Samples as signed values, full scale ±1, from first to the end less as many at the end: encoder delay,
// padding and the resampler's edges stay out of what is measured.
std::vector<double> middle(const std::vector<std::uint8_t>& samples, std::size_t margin)
{
    std::vector<double> out;
    for (std::size_t i = margin; i + margin < samples.size(); ++i) {
        out.push_back((samples[i] - 128.0) / 128.0);
    }
    return out;
}

// Goertzel: the amplitude of the component at frequency over a whole number of its periods.
double amplitudeAt(const std::vector<double>& x, double frequency)
{
    const double periods = std::floor(static_cast<double>(x.size()) * frequency / kRate);
    const auto n = static_cast<std::size_t>(std::lround(periods * kRate / frequency));
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * frequency / kRate);
    double s1 = 0;
    double s2 = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double s = x[i] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    return 2 * std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - coefficient * s1 * s2)) / static_cast<double>(n);
}

// From the rising zero crossings, interpolated between samples; a crossing counts only after the signal
// went well below zero, so that dither near zero cannot add any.
double frequencyOf(const std::vector<double>& x, double amplitude)
{
    double first = -1;
    double last = -1;
    int crossings = 0;
    bool armed = false;
    for (std::size_t i = 1; i < x.size(); ++i) {
        if (x[i] < -amplitude / 3) {
            armed = true;
        }
        if (armed && x[i - 1] < 0 && x[i] >= 0) {
            const double at = static_cast<double>(i - 1) + -x[i - 1] / (x[i] - x[i - 1]);
            first = first < 0 ? at : first;
            last = at;
            ++crossings;
            armed = false;
        }
    }
    return crossings > 1 ? (crossings - 1) * kRate / (last - first) : 0;
}

double peakOf(const std::vector<std::uint8_t>& samples)
{
    int peak = 0;
    for (const std::uint8_t s : samples) {
        peak = std::max(peak, std::abs(s - 128));
    }
    return peak / 128.0;
}

class AudioConverterTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    QString make(const QString& name, const Format& format, double seconds,
                 const AudioFileMaker::Signal& signal, const AudioFileMaker::Signal& second = {})
    {
        const QString path = dir.filePath(name);
        const QString error = AudioFileMaker::write(path, format, seconds, signal, second);
        EXPECT_TRUE(error.isEmpty()) << name.toStdString() << ": " << error.toStdString();
        return path;
    }

    QString tone(const QString& name, const Format& format, double seconds = 1.0, double frequency = 1000)
    {
        return make(name, format, seconds, AudioFileMaker::sine(frequency, kAmplitude, format.rate));
    }

    QStringList entries() const
    {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    // Converts path into out.wav and reads the result back; a file that is there must be a WAV file of
    // the player's format, its samples right after a 16-byte "fmt " chunk, as many as reported.
    Output convert(const QString& path, const Options& options = {}, const std::stop_token& stop = {},
                   const std::function<void(double)>& onProgress = {})
    {
        const QString target = dir.filePath(QStringLiteral("out.wav"));
        QFile::remove(target);
        Output out;
        out.result = AudioConverter::convert(
            path, target, options, stop,
            [&](double fraction) {
                out.progress.push_back(fraction);
                if (onProgress) {
                    onProgress(fraction);
                }
            },
            out.error, &out.written);
        QFile file(target);
        if (out.result != Result::Done) {
            EXPECT_FALSE(file.exists()) << path.toStdString();
            return out;
        }
        EXPECT_TRUE(out.error.isEmpty()) << out.error.toStdString();
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const WavHeader header = ReadWavHeader(&file, {});
        const WavFormat format = header.format.value_or(WavFormat{});
        const qint64 declared = header.dataSize;
        EXPECT_TRUE(IsDeviceFormat(header));
        EXPECT_EQ(format.blockAlign, 1);
        EXPECT_EQ(format.avgBytesPerSec, 22050u);
        EXPECT_EQ(file.pos(), 44);
        EXPECT_EQ(declared, static_cast<qint64>(out.written));
        EXPECT_EQ(file.size(), 44 + declared + (declared & 1));
        const QByteArray data = file.read(declared);
        out.samples.assign(data.begin(), data.end());
        return out;
    }
};

struct ToneCase
{
    const char* name;
    Format format;
    double level = 1; // of the output, relative to the tone in each channel
};

TEST_F(AudioConverterTest, TonesKeepTheirFrequencyAndLevelWhateverTheFormat)
{
    const ToneCase cases[] = {
        {"pcm16.wav", {"wav", "pcm_s16le"}},
        {"tone.mp3", {"mp3", "libmp3lame"}},
        {"tone.flac", {"flac", "flac"}},
        {"tone.ogg", {"ogg", "libvorbis"}},
        {"tone.opus", {"ogg", "libopus", 48000}},
        {"tone.m4a", {"ipod", "aac"}},
        {"tone.aiff", {"aiff", "pcm_s16be"}},
        {"adpcm.wav", {"wav", "adpcm_ima_wav"}},
        {"upsampled.wav", {"wav", "pcm_s16le", 8000, 1}},
        {"pcm16-48k.wav", {"wav", "pcm_s16le", 48000}},
        {"pcm24-96k.wav", {"wav", "pcm_s24le", 96000}},
        {"float.wav", {"wav", "pcm_f32le", 44100, 1}},
        {"surround.wav", {"wav", "pcm_s16le", 44100, 6}},
    };
    for (const ToneCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = tone(c.name, c.format);
        const Output plain = convert(path, {.normalise = false});
        ASSERT_EQ(plain.result, Result::Done) << plain.error.toStdString();
        EXPECT_NEAR(static_cast<double>(plain.written), kRate, 0.03 * kRate);
        const std::vector<double> x = middle(plain.samples, kRate / 10);
        EXPECT_NEAR(frequencyOf(x, kAmplitude), 1000, 1);
        EXPECT_NEAR(dB(amplitudeAt(x, 1000) / (kAmplitude * c.level)), 0, 0.5);

        const Output normalised = convert(path);
        ASSERT_EQ(normalised.result, Result::Done) << normalised.error.toStdString();
        EXPECT_NEAR(dB(peakOf(normalised.samples)), -1, 0.2);
        EXPECT_NEAR(frequencyOf(middle(normalised.samples, kRate / 10), 0.9), 1000, 1);
    }
}

TEST_F(AudioConverterTest, NothingOfWhatTheNewRateCannotHoldComesThrough)
{
    // 15 kHz lies above 11025 Hz: let through, it would fold back to 22050 - 15000 Hz.
    const Output high = convert(tone("15k.wav", {"wav", "pcm_s16le"}, 1.0, 15000), {.normalise = false});
    ASSERT_EQ(high.result, Result::Done) << high.error.toStdString();
    EXPECT_LT(dB(amplitudeAt(middle(high.samples, kRate / 10), 7050) / kAmplitude), -40);

    // Upsampling 1 kHz from 8000 Hz: the images around 8 kHz must not appear.
    const Output up = convert(tone("8k.wav", {"wav", "pcm_s16le", 8000, 1}), {.normalise = false});
    ASSERT_EQ(up.result, Result::Done) << up.error.toStdString();
    const std::vector<double> x = middle(up.samples, kRate / 10);
    EXPECT_LT(dB(amplitudeAt(x, 7000) / kAmplitude), -40);
    EXPECT_LT(dB(amplitudeAt(x, 9000) / kAmplitude), -40);
}

TEST_F(AudioConverterTest, MonoIsTheAverageOfAllChannels)
{
    const auto sine = AudioFileMaker::sine(1000, kAmplitude, 44100);
    // Opposite phases cancel, normalised or not: no gain brings back what is not there.
    const QString opposite =
        make("opposite.wav", {"wav", "pcm_s16le"}, 1.0,
             [&](int channel, std::int64_t i) { return channel == 0 ? sine(0, i) : -sine(0, i); });
    for (const bool normalise : {false, true}) {
        const Output out = convert(opposite, {.normalise = normalise});
        ASSERT_EQ(out.result, Result::Done) << out.error.toStdString();
        EXPECT_EQ(out.written, static_cast<std::uint64_t>(kRate));
        EXPECT_LE(peakOf(out.samples), 1 / 128.0) << "normalise " << normalise;
    }

    // One channel alone comes out at its share: half of stereo, a sixth of 5.1, the LFE included.
    const struct
    {
        const char* name;
        int channels;
        int sounding;
    } cases[] = {{"right.wav", 2, 1}, {"front-left.wav", 6, 0}, {"lfe.wav", 6, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path =
            make(c.name, {"wav", "pcm_s16le", 44100, c.channels}, 1.0,
                 [&](int channel, std::int64_t i) { return channel == c.sounding ? sine(0, i) : 0.0; });
        const Output out = convert(path, {.normalise = false});
        ASSERT_EQ(out.result, Result::Done) << out.error.toStdString();
        const double expected = kAmplitude / c.channels;
        EXPECT_NEAR(dB(amplitudeAt(middle(out.samples, kRate / 10), 1000) / expected), 0, 0.5);
    }
}

TEST_F(AudioConverterTest, FullScaleClipsInsteadOfWrappingAndSilenceStaysSilent)
{
    // A 100 Hz square wave: the resampler overshoots its edges, beyond full scale.
    const auto square = [](double level) {
        return [level](int, std::int64_t i) {
            return (i % 441) < 220 ? level : -level;
        };
    };
    const QString pcm = make("square16.wav", {"wav", "pcm_s16le"}, 1.0, square(1.0));
    const QString hot = make("square-float.wav", {"wav", "pcm_f32le"}, 1.0, square(1.5));
    for (const QString& path : {pcm, hot}) {
        for (const bool normalise : {false, true}) {
            SCOPED_TRACE(path.toStdString() + (normalise ? " normalised" : ""));
            const Output out = convert(path, {.normalise = normalise});
            ASSERT_EQ(out.result, Result::Done) << out.error.toStdString();
            // Normalised, the overshoot is what reaches -1 dBFS and the flat tops lie somewhat lower; a
            // sample that wrapped around lies at the other end.
            const int floor = normalise ? 0xC0 : 0xF8;
            int wrong = 0;
            for (std::size_t n = 100; n + 100 < out.samples.size(); ++n) {
                // Where the input stands, in its own samples; the edges themselves are left out.
                const double phase = std::fmod(static_cast<double>(n) * 2, 441);
                if (std::abs(phase - 220) < 20 || phase < 20 || phase > 421) {
                    continue;
                }
                const int value = phase < 220 ? out.samples[n] : 0xFF - out.samples[n];
                wrong += value < floor ? 1 : 0;
            }
            EXPECT_EQ(wrong, 0);
        }
    }

    const QString silence =
        make("silence.wav", {"wav", "pcm_s16le"}, 1.0, [](int, std::int64_t) { return 0.0; });
    for (const bool normalise : {false, true}) {
        const Output out = convert(silence, {.normalise = normalise});
        ASSERT_EQ(out.result, Result::Done) << out.error.toStdString();
        const auto [low, high] = std::minmax_element(out.samples.begin(), out.samples.end());
        EXPECT_GE(*low, 0x7F) << "normalise " << normalise;
        EXPECT_LE(*high, 0x81) << "normalise " << normalise;
    }
}

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

TEST_F(AudioConverterTest, ProbeDescribesTheFirstAudioStream)
{
    const struct
    {
        const char* name;
        Format format;
        const char* description;
    } cases[] = {
        {"pcm16.wav", {"wav", "pcm_s16le"}, "WAV (PCM 16 bit), 44100 Hz, stereo, 0:02"},
        {"pcm24.wav", {"wav", "pcm_s24le", 96000, 1}, "WAV (PCM 24 bit), 96000 Hz, mono, 0:02"},
        {"float.wav",
         {"wav", "pcm_f32le", 48000, 6},
         "WAV (PCM 32 bit virgola mobile), 48000 Hz, 6 canali, 0:02"},
        {"adpcm.wav", {"wav", "adpcm_ima_wav", 22050, 1}, "WAV (ADPCM IMA WAV), 22050 Hz, mono, 0:02"},
        {"tone.mp3", {"mp3", "libmp3lame"}, "MP3, 44100 Hz, stereo, 0:02"},
        {"tone.flac", {"flac", "flac", 48000}, "FLAC, 48000 Hz, stereo, 0:02"},
        {"tone.ogg", {"ogg", "libvorbis"}, "Ogg Vorbis, 44100 Hz, stereo, 0:02"},
        {"tone.opus", {"ogg", "libopus", 48000}, "Opus, 48000 Hz, stereo, 0:02"},
        {"tone.m4a", {"ipod", "aac"}, "AAC, 44100 Hz, stereo, 0:02"},
        {"tone.aiff", {"aiff", "pcm_s16be", 44100, 1}, "AIFF (PCM 16 bit), 44100 Hz, mono, 0:02"},
        {"film.mkv", {"matroska", "flac", 32000, 1, 0, -1, 2.2}, "FLAC, 32000 Hz, mono, 0:02"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = tone(c.name, c.format, 2.2);
        QString error;
        const std::optional<AudioInfo> info = AudioConverter::probe(path, error);
        ASSERT_TRUE(info) << error.toStdString();
        EXPECT_EQ(info->description().toStdString(), c.description);
        EXPECT_NEAR(info->seconds, 2.2, 0.1);
    }

    EXPECT_EQ((AudioInfo{"MP3", 44100, 2, 192.4}).description(), "MP3, 44100 Hz, stereo, 3:12");
    EXPECT_EQ((AudioInfo{"FLAC", 48000, 6, 3725.2}).description(), "FLAC, 48000 Hz, 6 canali, 62:05");
    EXPECT_EQ((AudioInfo{"Opus", 48000, 1, 0}).description(), "Opus, 48000 Hz, mono");
}

TEST_F(AudioConverterTest, TheFirstAudioStreamOfAVideoIsConverted)
{
    // Its sound ends long before its picture: the film's length is not the sound's, and nothing is missing.
    const Format film{"matroska", "libvorbis", 44100, 2, 0, -1, 3.0};
    const QString path = make("film.mkv", film, 1.0, AudioFileMaker::sine(1000, kAmplitude, 44100),
                              AudioFileMaker::sine(440, kAmplitude, 44100));
    const Output out = convert(path, {.normalise = false});
    ASSERT_EQ(out.result, Result::Done) << out.error.toStdString();
    const std::vector<double> x = middle(out.samples, kRate / 10);
    EXPECT_NEAR(frequencyOf(x, kAmplitude), 1000, 1);
    EXPECT_NEAR(dB(amplitudeAt(x, 1000) / kAmplitude), 0, 0.5);
}

TEST_F(AudioConverterTest, BadInputFailsWithItsReasonAndLeavesNothingBehind)
{
    const auto bytesOf = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const auto writeBytes = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };

    const QString fifo = dir.filePath("pipe.mp3");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mp3"));
    ASSERT_TRUE(writeBytes(dir.filePath("empty.mp3"), {}));
    ASSERT_TRUE(writeBytes(dir.filePath("text.mp3"), "Questa non è musica.\n"));
    make("video-only.mkv", {"matroska", nullptr, 44100, 2, 0, -1, 1.0}, 1.0, {});
    ASSERT_TRUE(WavBuilder().fmt(1, 2, 44100, 16).data({}).writeTo(dir.filePath("no-samples.wav")));

    const QByteArray mp3 = bytesOf(tone("whole.mp3", {"mp3", "libmp3lame"}, 3.0));
    ASSERT_TRUE(writeBytes(dir.filePath("cut.mp3"), mp3.left(mp3.size() / 2)));
    QByteArray flac = bytesOf(tone("whole.flac", {"flac", "flac"}, 3.0));
    for (qsizetype i = flac.size() / 2; i < flac.size() / 2 + 64; ++i) {
        flac[i] = static_cast<char>(flac[i] ^ 0x5A);
    }
    ASSERT_TRUE(writeBytes(dir.filePath("damaged.flac"), flac));
    QFile::remove(dir.filePath("whole.mp3"));
    QFile::remove(dir.filePath("whole.flac"));
    // Lists that name sound files beside them, as FFmpeg resolves them: FFmpeg would open and convert
    // those, were it let open anything but the file it was given.
    tone("named.wav", {"wav", "pcm_s16le"});
    tone("segment.ts", {"mpegts", "mp2"});
    ASSERT_TRUE(writeBytes(dir.filePath("list.ffconcat"), "ffconcat version 1.0\nfile 'named.wav'\n"));
    ASSERT_TRUE(writeBytes(dir.filePath("list.m3u8"),
                           "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\nsegment.ts\n#EXT-X-ENDLIST\n"));
    const QString working = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const auto restore = qScopeGuard([&] { QDir::setCurrent(working); });

    const struct
    {
        const char* name;
        const char* reason;
        bool probeFails;
    } cases[] = {
        {"missing.mp3", "non esiste", true},
        {"folder.mp3", "cartella", true},
        {"pipe.mp3", "FIFO", true},
        {"empty.mp3", "non è un file audio leggibile (FFmpeg: ", true},
        {"text.mp3", "non è un file audio leggibile (FFmpeg: ", true},
        {"video-only.mkv", "non contiene audio (FFmpeg: Stream not found)", true},
        {"no-samples.wav", "vuota", false},
        {"cut.mp3", "incompleto", false},
        {"damaged.flac", "danneggiato e non si può convertire (FFmpeg: Invalid data found", false},
        {"list.m3u8", "non è un file audio leggibile (FFmpeg: ", true},
        {"list.ffconcat", "non è un file audio leggibile (FFmpeg: ", true},
    };
    const QStringList before = entries();
    for (const auto& c : cases) {
        const QString path = dir.filePath(c.name);
        const std::string name = QDir::toNativeSeparators(path).toStdString();
        SCOPED_TRACE(c.name);
        QString error;
        const std::optional<AudioInfo> info = AudioConverter::probe(path, error);
        if (c.probeFails) {
            EXPECT_FALSE(info);
            EXPECT_NE(error.toStdString().find(name), std::string::npos) << error.toStdString();
            EXPECT_NE(error.toStdString().find(c.reason), std::string::npos) << error.toStdString();
        }
        for (const bool normalise : {false, true}) {
            const Output out = convert(path, {.normalise = normalise});
            EXPECT_EQ(out.result, Result::Failed);
            EXPECT_EQ(out.written, 0u);
            EXPECT_NE(out.error.toStdString().find(name), std::string::npos) << out.error.toStdString();
            EXPECT_NE(out.error.toStdString().find(c.reason), std::string::npos) << out.error.toStdString();
            EXPECT_EQ(entries(), before);
        }
    }
}

TEST_F(AudioConverterTest, AHeaderDeclaringGigabytesTakesNoGigabytes)
{
    // A tag of 1 GiB declared in a "LIST" chunk that claims almost 4 GiB, at the end of a small WAV file.
    const auto le32 = [](std::uint32_t v) {
        return std::vector<std::uint8_t>{std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16),
                                         std::uint8_t(v >> 24)};
    };
    std::vector<std::uint8_t> list{'L', 'I', 'S', 'T'};
    for (const auto& part :
         {le32(0xFFFFFFF0), std::vector<std::uint8_t>{'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T'},
          le32(0x40000000), std::vector<std::uint8_t>{'a', 'b', 'c', 'd'}}) {
        list.insert(list.end(), part.begin(), part.end());
    }
    const QString path = dir.filePath("big-tag.wav");
    ASSERT_TRUE(
        WavBuilder().fmt(1, 1, 8000, 16).data(std::vector<std::uint8_t>(16000, 0)).raw(list).writeTo(path));

    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    QString error;
    AudioConverter::probe(path, error);
    const Output out = convert(path);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 256 * 1024) << "KiB";
    EXPECT_TRUE(out.result == Result::Done || !out.error.isEmpty());
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
