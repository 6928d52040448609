#include "AudioFileMaker.h"

#include <QFile>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cmath>
#include <deque>
#include <numbers>

namespace {

QString ffmpegError(const char* what, int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what), QString::fromLocal8Bit(text));
}

AVSampleFormat pickFormat(const AVCodec& codec)
{
    if (!codec.sample_fmts) {
        return AV_SAMPLE_FMT_S16;
    }
    for (const AVSampleFormat preferred : {AV_SAMPLE_FMT_FLTP, AV_SAMPLE_FMT_FLT}) {
        for (const AVSampleFormat* f = codec.sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f) {
            if (*f == preferred) {
                return preferred;
            }
        }
    }
    return codec.sample_fmts[0];
}

void store(AVFrame& frame, int channel, int index, double value)
{
    const auto format = static_cast<AVSampleFormat>(frame.format);
    const bool planar = av_sample_fmt_is_planar(format);
    const int channels = frame.ch_layout.nb_channels;
    std::uint8_t* plane = frame.extended_data[planar ? channel : 0];
    const int at = planar ? index : index * channels + channel;
    switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8:
        plane[at] = static_cast<std::uint8_t>(std::clamp(std::lround(value * 128 + 128), 0L, 255L));
        break;
    case AV_SAMPLE_FMT_S16:
        reinterpret_cast<std::int16_t*>(plane)[at] =
            static_cast<std::int16_t>(std::clamp(std::lround(value * 32767), -32768L, 32767L));
        break;
    case AV_SAMPLE_FMT_S32:
        reinterpret_cast<std::int32_t*>(plane)[at] = static_cast<std::int32_t>(
            std::clamp(std::llround(value * 2147483647.0), -2147483648LL, 2147483647LL));
        break;
    case AV_SAMPLE_FMT_FLT:
        reinterpret_cast<float*>(plane)[at] = static_cast<float>(value);
        break;
    case AV_SAMPLE_FMT_DBL:
        reinterpret_cast<double*>(plane)[at] = value;
        break;
    default:
        break;
    }
}

// One encoder and its stream in the file being written.
struct Encoder
{
    AVCodecContext* context = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    std::int64_t next = 0; // in the encoder's time base
    std::int64_t end = 0;
    int frameSize = 0;
    bool flushed = false;
    const AudioFileMaker::Signal* signal = nullptr;

    Encoder() = default;
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;
    ~Encoder()
    {
        av_frame_free(&frame);
        avcodec_free_context(&context);
    }
    double seconds() const { return static_cast<double>(next) * av_q2d(context->time_base); }
};

class Writer
{
public:
    ~Writer()
    {
        if (m_output) {
            if (m_output->pb) {
                avio_closep(&m_output->pb);
            }
            avformat_free_context(m_output);
        }
    }

    QString run(const QString& path, const AudioFileMaker::Format& format, double seconds,
                const AudioFileMaker::Signal& signal, const AudioFileMaker::Signal& second)
    {
        const QByteArray name = QFile::encodeName(path);
        int result = avformat_alloc_output_context2(&m_output, nullptr, format.container, name.constData());
        if (result < 0) {
            return ffmpegError("output", result);
        }
        if (format.videoSeconds > 0) {
            QString error = addVideo(format.videoSeconds);
            if (!error.isEmpty()) {
                return error;
            }
        }
        if (format.encoder) {
            QString error = addAudio(format, seconds, signal);
            if (error.isEmpty() && second) {
                error = addAudio(format, seconds, second);
            }
            if (!error.isEmpty()) {
                return error;
            }
        }
        result = avio_open(&m_output->pb, name.constData(), AVIO_FLAG_WRITE);
        if (result >= 0) {
            result = avformat_write_header(m_output, nullptr);
        }
        if (result < 0) {
            return ffmpegError("header", result);
        }
        // Always the stream that is furthest behind, so the muxer gets them interleaved.
        for (;;) {
            Encoder* behind = nullptr;
            for (Encoder& e : m_encoders) {
                if (!e.flushed && (!behind || e.seconds() < behind->seconds())) {
                    behind = &e;
                }
            }
            if (!behind) {
                break;
            }
            result = step(*behind);
            if (result < 0) {
                return ffmpegError("encoding", result);
            }
        }
        result = av_write_trailer(m_output);
        if (result < 0) {
            return ffmpegError("trailer", result);
        }
        return {};
    }

private:
    QString open(Encoder& e, const AVCodec* codec)
    {
        if (m_output->oformat->flags & AVFMT_GLOBALHEADER) {
            e.context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        }
        int result = avcodec_open2(e.context, codec, nullptr);
        if (result >= 0) {
            e.stream = avformat_new_stream(m_output, nullptr);
            result =
                e.stream ? avcodec_parameters_from_context(e.stream->codecpar, e.context) : AVERROR(ENOMEM);
        }
        if (result < 0) {
            return ffmpegError(codec->name, result);
        }
        e.stream->time_base = e.context->time_base;
        e.frame = av_frame_alloc();
        return {};
    }

    QString addVideo(double seconds)
    {
        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
        if (!codec) {
            return QStringLiteral("no MPEG-4 video encoder");
        }
        Encoder& e = m_encoders.emplace_back();
        e.context = avcodec_alloc_context3(codec);
        e.context->width = 64;
        e.context->height = 48;
        e.context->pix_fmt = AV_PIX_FMT_YUV420P;
        e.context->time_base = {1, 10};
        e.context->framerate = {10, 1};
        e.context->gop_size = 10;
        e.end = std::llround(seconds * 10);
        return open(e, codec);
    }

    QString addAudio(const AudioFileMaker::Format& format, double seconds,
                     const AudioFileMaker::Signal& signal)
    {
        const AVCodec* codec = avcodec_find_encoder_by_name(format.encoder);
        if (!codec) {
            return QStringLiteral("no encoder %1").arg(QString::fromLatin1(format.encoder));
        }
        Encoder& e = m_encoders.emplace_back();
        e.signal = &signal;
        e.context = avcodec_alloc_context3(codec);
        e.context->sample_rate = format.rate;
        av_channel_layout_default(&e.context->ch_layout, format.channels);
        e.context->sample_fmt = pickFormat(*codec);
        e.context->time_base = {1, format.rate};
        if (format.bitRate > 0) {
            e.context->bit_rate = format.bitRate;
        }
        if (format.compressionLevel >= 0) {
            e.context->compression_level = format.compressionLevel;
        }
        if (codec->id == AV_CODEC_ID_PCM_S24LE || codec->id == AV_CODEC_ID_PCM_S24BE) {
            e.context->bits_per_raw_sample = 24;
        }
        e.end = std::llround(seconds * format.rate);
        QString error = open(e, codec);
        if (!error.isEmpty()) {
            return error;
        }
        e.frameSize = e.context->frame_size > 0 && !(codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE)
                          ? e.context->frame_size
                          : 1024;
        return {};
    }

    int fillAudio(Encoder& e)
    {
        AVFrame& f = *e.frame;
        av_frame_unref(&f);
        f.format = e.context->sample_fmt;
        f.sample_rate = e.context->sample_rate;
        f.nb_samples = static_cast<int>(std::min<std::int64_t>(e.frameSize, e.end - e.next));
        int result = av_channel_layout_copy(&f.ch_layout, &e.context->ch_layout);
        if (result >= 0) {
            result = av_frame_get_buffer(&f, 0);
        }
        for (int i = 0; result >= 0 && i < f.nb_samples; ++i) {
            for (int c = 0; c < f.ch_layout.nb_channels; ++c) {
                store(f, c, i, (*e.signal)(c, e.next + i));
            }
        }
        f.pts = e.next;
        e.next += f.nb_samples;
        return result;
    }

    int fillVideo(Encoder& e)
    {
        AVFrame& f = *e.frame;
        av_frame_unref(&f);
        f.format = e.context->pix_fmt;
        f.width = e.context->width;
        f.height = e.context->height;
        int result = av_frame_get_buffer(&f, 0);
        for (int plane = 0; result >= 0 && plane < 3; ++plane) {
            const int rows = plane == 0 ? f.height : f.height / 2;
            for (int y = 0; y < rows; ++y) {
                std::fill_n(f.data[plane] + y * f.linesize[plane], f.linesize[plane],
                            static_cast<std::uint8_t>(plane == 0 ? (e.next * 20 + y) & 0xFF : 128));
            }
        }
        f.pts = e.next++;
        return result;
    }

    // Encodes one more frame of e, or flushes it once its signal is over.
    int step(Encoder& e)
    {
        int result = 0;
        if (e.next < e.end) {
            result = e.signal ? fillAudio(e) : fillVideo(e);
            if (result >= 0) {
                result = avcodec_send_frame(e.context, e.frame);
            }
        } else {
            result = avcodec_send_frame(e.context, nullptr);
            e.flushed = true;
        }
        AVPacket* packet = av_packet_alloc();
        while (result >= 0) {
            result = avcodec_receive_packet(e.context, packet);
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) {
                result = 0;
                break;
            }
            if (result >= 0) {
                av_packet_rescale_ts(packet, e.context->time_base, e.stream->time_base);
                packet->stream_index = e.stream->index;
                result = av_interleaved_write_frame(m_output, packet);
            }
        }
        av_packet_free(&packet);
        return result;
    }

    AVFormatContext* m_output = nullptr;
    // A deque: adding a stream never moves the encoders already there.
    std::deque<Encoder> m_encoders;
};

} // namespace

QString AudioFileMaker::write(const QString& path, const Format& format, double seconds, const Signal& signal,
                              const Signal& second)
{
    // Failures come back as the returned text; the encoders' chatter is not wanted in test output.
    av_log_set_level(AV_LOG_QUIET);
    Writer writer;
    const QString error = writer.run(path, format, seconds, signal, second);
    if (!error.isEmpty()) {
        QFile::remove(path);
    }
    return error;
}

AudioFileMaker::Signal AudioFileMaker::sine(double frequency, double amplitude, int rate)
{
    return [=](int, std::int64_t index) {
        return amplitude * std::sin(2 * std::numbers::pi * frequency * static_cast<double>(index) / rate);
    };
}
