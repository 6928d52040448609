#include "download/MonoResampler.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/opt.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

#include <array>
#include <vector>

namespace {

// swresample's own limit: its matrix has room for no more.
constexpr int kMaxChannels = 64;

} // namespace

MonoResampler::MonoResampler(Output output, int rate) : m_kind(output), m_rate(rate) {}

MonoResampler::~MonoResampler()
{
    swr_free(&m_swr);
}

bool MonoResampler::matches(const AVFrame& frame) const
{
    return m_swr && frame.ch_layout.nb_channels == m_inChannels && frame.sample_rate == m_inRate &&
           frame.format == m_inFormat && static_cast<int>(frame.ch_layout.order) == m_inOrder &&
           (frame.ch_layout.order != AV_CHANNEL_ORDER_NATIVE || frame.ch_layout.u.mask == m_inMask);
}

// frame null: mono float at the output rate.
int MonoResampler::configure(const AVFrame* frame)
{
    swr_free(&m_swr);
    AVChannelLayout in{};
    AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
    int result = 0;
    if (!frame) {
        result = av_channel_layout_copy(&in, &mono);
    } else if (frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
        // Only the count matters to the matrix below; swresample wants a layout it can name.
        av_channel_layout_default(&in, frame->ch_layout.nb_channels);
    } else {
        result = av_channel_layout_copy(&in, &frame->ch_layout);
    }
    const int channels = in.nb_channels;
    const int rate = frame ? frame->sample_rate : m_rate;
    const auto format = frame ? static_cast<AVSampleFormat>(frame->format) : AV_SAMPLE_FMT_FLT;
    const AVSampleFormat outFormat = m_kind == Output::Float ? AV_SAMPLE_FMT_FLT : AV_SAMPLE_FMT_U8;
    if (result >= 0) {
        result = swr_alloc_set_opts2(&m_swr, &mono, outFormat, m_rate, &in, format, rate, 0, nullptr);
    }
    av_channel_layout_uninit(&in);
    if (result < 0) {
        return result;
    }
    // Float inside whatever comes in and goes out: 16-bit input would otherwise be mixed and resampled in
    // 16 bits, and the dither would start from that.
    result = av_opt_set(m_swr, "resampler", "soxr", 0);
    if (result >= 0) {
        result = av_opt_set_sample_fmt(m_swr, "internal_sample_fmt", AV_SAMPLE_FMT_FLTP, 0);
    }
    if (result >= 0 && m_kind == Output::Unsigned8) {
        result = av_opt_set(m_swr, "dither_method", "triangular", 0);
    }
    if (result >= 0) {
        // The average: swresample's own downmix weighs the centre and surround channels and drops the LFE.
        const std::vector<double> matrix(static_cast<std::size_t>(channels), 1.0 / channels);
        result = swr_set_matrix(m_swr, matrix.data(), channels);
    }
    if (result >= 0) {
        result = swr_init(m_swr);
    }
    if (result < 0) {
        swr_free(&m_swr);
        return result;
    }
    m_inChannels = channels;
    m_inRate = rate;
    m_inFormat = format;
    m_inOrder = frame ? static_cast<int>(frame->ch_layout.order) : static_cast<int>(AV_CHANNEL_ORDER_NATIVE);
    m_inMask = frame && frame->ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? frame->ch_layout.u.mask : 0;
    return 0;
}

int MonoResampler::run(const std::uint8_t* const* input, int count)
{
    for (;;) {
        const int room = swr_get_out_samples(m_swr, count);
        if (room < 0) {
            return room;
        }
        const std::size_t size = m_output.size();
        const auto sampleBytes = static_cast<std::size_t>(bytesPerSample());
        m_output.resize(size + static_cast<std::size_t>(room) * sampleBytes + sampleBytes);
        std::uint8_t* out = m_output.data() + size;
        const int made =
            swr_convert(m_swr, &out, room + 1, const_cast<const std::uint8_t**>(input), input ? count : 0);
        if (made < 0) {
            m_output.resize(size);
            return made;
        }
        m_output.resize(size + static_cast<std::size_t>(made) * sampleBytes);
        // Draining goes on until nothing more comes; input is taken in one call.
        if (input || made == 0) {
            return 0;
        }
    }
}

int MonoResampler::convert(const AVFrame& frame, int offset, int count)
{
    if (offset < 0 || count < 0 || offset > frame.nb_samples - count) {
        return AVERROR(EINVAL);
    }
    if (!matches(frame)) {
        if (m_swr) {
            const int drained = drain();
            if (drained < 0) {
                return drained;
            }
        }
        const int result = configure(&frame);
        if (result < 0) {
            return result;
        }
    }
    const auto format = static_cast<AVSampleFormat>(frame.format);
    const bool planar = av_sample_fmt_is_planar(format) != 0;
    const int stride = av_get_bytes_per_sample(format) * (planar ? 1 : m_inChannels);
    std::array<const std::uint8_t*, kMaxChannels> planes{};
    const int planeCount = planar ? m_inChannels : 1;
    if (planeCount > kMaxChannels) {
        return AVERROR(EINVAL);
    }
    for (int plane = 0; plane < planeCount; ++plane) {
        planes[static_cast<std::size_t>(plane)] =
            frame.extended_data[plane] + static_cast<std::ptrdiff_t>(offset) * stride;
    }
    return run(planes.data(), count);
}

int MonoResampler::convertMono(const float* samples, int count)
{
    if (!m_swr) {
        const int result = configure(nullptr);
        if (result < 0) {
            return result;
        }
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(samples);
    return run(&bytes, count);
}

int MonoResampler::drain()
{
    return m_swr ? run(nullptr, 0) : 0;
}
