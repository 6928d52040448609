#pragma once

#include "download/AudioConverter.h"

#include "AudioFileMaker.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <stop_token>
#include <vector>

// Sound files made in a folder of their own, converted to the player's format and read back, with the
// measurements the conversion tests judge the result by.
class AudioConverterTest : public ::testing::Test
{
protected:
    using Format = AudioFileMaker::Format;
    using Options = AudioConverter::Options;
    using Result = AudioConverter::Result;

    static constexpr int kRate = 22050;
    static constexpr double kAmplitude = 0.5;

    struct Output
    {
        Result result = Result::Failed;
        QString error;
        std::uint64_t written = 0;
        std::vector<std::uint8_t> samples;
        std::vector<double> progress;
    };

    static double dB(double ratio);
    // Samples as signed values, full scale ±1, from first to the end less as many at the end: encoder delay,
    // padding and the resampler's edges stay out of what is measured.
    static std::vector<double> middle(const std::vector<std::uint8_t>& samples, std::size_t margin);
    // The amplitude of the component at frequency, over a whole number of its periods.
    static double amplitudeAt(const std::vector<double>& x, double frequency);
    // From the rising zero crossings, interpolated between samples; a crossing counts only after the signal
    // went well below zero, so that dither near zero cannot add any.
    static double frequencyOf(const std::vector<double>& x, double amplitude);
    static double peakOf(const std::vector<std::uint8_t>& samples);

    QString make(const QString& name, const Format& format, double seconds,
                 const AudioFileMaker::Signal& signal, const AudioFileMaker::Signal& second = {});
    QString tone(const QString& name, const Format& format, double seconds = 1.0, double frequency = 1000);
    // Everything in the folder, hidden files included: what a failed conversion must not leave behind.
    QStringList entries() const;

    // Converts path into out.wav and reads the result back; a file that is there must be a WAV file of
    // the player's format, its samples right after a 16-byte "fmt " chunk, as many as reported.
    Output convert(const QString& path, const Options& options = {}, const std::stop_token& stop = {},
                   const std::function<void(double)>& onProgress = {});

    QTemporaryDir dir;
};
