#include "ConversionFixture.h"
#include "WavBuilder.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

#include <sys/resource.h>
#include <sys/stat.h>

// The decoder as the download uses it, through the converter: what it finds in a file, and how it refuses
// one it cannot read whole.
namespace {

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

} // namespace
