#include "ConversionFixture.h"

#include <algorithm>
#include <cmath>

// The resampler as the download uses it, through the converter: one channel at the player's rate, the
// level and the frequency kept, nothing folded back, clipped rather than wrapped.
namespace {

using Format = AudioFileMaker::Format;

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

} // namespace
