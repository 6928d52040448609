#pragma once

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <functional>

class AudioDecoder;
class MonoResampler;

// The decoder run into the resampler, frame by frame, until the stream ends or enough samples came out.
class DecodeLoop
{
    Q_DECLARE_TR_FUNCTIONS(DecodeLoop)

public:
    enum class Result
    {
        Done,
        Cancelled,
        Failed
    };
    // Takes count samples of the resampler's output format; an error message stops the loop.
    using Sink = std::function<QString(const std::uint8_t* samples, std::size_t count)>;

    // Every batch of output, no more than limit samples in all, goes to sink; progress gets how far
    // through the file the loop has come (0..1) after each frame. A stop request the decoder sees ends it
    // with Cancelled; Failed sets error for the user.
    static Result run(AudioDecoder& decoder, MonoResampler& resampler, std::uint64_t limit, const Sink& sink,
                      const std::function<void(double)>& progress, QString& error);
};
