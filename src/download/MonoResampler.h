#pragma once

#include <cstdint>
#include <vector>

struct AVFrame;
struct SwrContext;

// Decoded frames into one channel at one rate, through FFmpeg's swresample: every input channel weighs the
// same (their average, so that opposite phases cancel), soxr resamples. Output is 32-bit float, or 8-bit
// unsigned with triangular dither. A stream that changes its layout, rate or sample format on the way is
// followed: what the old set-up still holds comes out first.
class MonoResampler
{
public:
    enum class Output
    {
        Float,
        Unsigned8
    };

    MonoResampler(Output output, int rate);
    ~MonoResampler();
    MonoResampler(const MonoResampler&) = delete;
    MonoResampler& operator=(const MonoResampler&) = delete;

    // Each returns 0 or FFmpeg's error code, and appends what it converted to output().
    // count samples of frame from offset: a large frame goes in slices, so the output stays small and the
    // caller can stop as soon as it has what it wants.
    int convert(const AVFrame& frame, int offset, int count);
    // count mono float samples at the output rate.
    int convertMono(const float* samples, int count);
    // What the resampler still holds once the input has ended.
    int drain();

    // Samples of the output format, packed; the caller takes them and clears it.
    std::vector<std::uint8_t>& output() { return m_output; }
    int bytesPerSample() const { return m_kind == Output::Float ? 4 : 1; }

private:
    int configure(const AVFrame* frame);
    int run(const std::uint8_t* const* input, int count);
    bool matches(const AVFrame& frame) const;

    Output m_kind;
    int m_rate;
    SwrContext* m_swr = nullptr;
    // What the current set-up was made for; layout details beyond the count do not change the matrix.
    int m_inChannels = 0;
    int m_inRate = 0;
    int m_inFormat = -1;
    std::uint64_t m_inMask = 0;
    int m_inOrder = -1;
    std::vector<std::uint8_t> m_output;
};
