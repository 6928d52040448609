#include "download/AudioDecoder.h"

#include "download/Durations.h"
#include "download/TrackSlot.h"

#include <QFileInfo>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

constexpr int kIoBufferSize = 64 * 1024;
// What the resampler takes; beyond it a stream is damaged rather than unusual.
constexpr int kMaxChannels = 64;
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 768000;

// The largest single allocation FFmpeg may make. Its demuxers take some sizes from the file as they stand:
// a WAV file of a few hundred bytes can declare a 2 GB tag, which FFmpeg would allocate and clear. Nothing
// a sound file really needs comes near this.
constexpr std::size_t kMaxFfmpegAllocation = std::size_t{256} * 1024 * 1024;

// Both settings are FFmpeg's own, for the whole process, and the same for every conversion. FFmpeg logs
// every damaged frame to stderr; what matters reaches the user through the error codes instead.
void setUpFfmpeg()
{
    static std::once_flag once;
    std::call_once(once, [] {
        av_log_set_level(AV_LOG_QUIET);
        av_max_alloc(kMaxFfmpegAllocation);
    });
}

} // namespace

AudioDecoder::AudioDecoder(const QString& path) : m_path(path), m_source(path) {}

AudioDecoder::~AudioDecoder()
{
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    avcodec_free_context(&m_codec);
    avformat_close_input(&m_format);
    if (m_io) {
        // FFmpeg may have replaced the buffer it was given.
        av_freep(&m_io->buffer);
        avio_context_free(&m_io);
    }
}

int AudioDecoder::readPacket(void* opaque, std::uint8_t* buffer, int size)
{
    auto* self = static_cast<AudioDecoder*>(opaque);
    const qint64 read = self->m_source.file().read(reinterpret_cast<char*>(buffer), size);
    if (read < 0) {
        return AVERROR(EIO);
    }
    if (read == 0) {
        return AVERROR_EOF;
    }
    self->m_position += read;
    return static_cast<int>(read);
}

std::int64_t AudioDecoder::seekPacket(void* opaque, std::int64_t offset, int whence)
{
    auto* self = static_cast<AudioDecoder*>(opaque);
    QFile& file = self->m_source.file();
    qint64 target = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return file.size();
    case SEEK_SET:
        target = offset;
        break;
    case SEEK_CUR:
        target = self->m_position + offset;
        break;
    case SEEK_END:
        target = file.size() + offset;
        break;
    default:
        return AVERROR(EINVAL);
    }
    if (target < 0 || !file.seek(target)) {
        return AVERROR(EINVAL);
    }
    self->m_position = target;
    return target;
}

int AudioDecoder::interrupted(void* opaque)
{
    return static_cast<const AudioDecoder*>(opaque)->m_stop.stop_requested() ? 1 : 0;
}

QString AudioDecoder::open(const std::stop_token& stop)
{
    setUpFfmpeg();
    m_stop = stop;
    QString failure = m_source.open();
    if (!failure.isEmpty()) {
        return failure;
    }
    m_size = m_source.file().size();

    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
    m_format = avformat_alloc_context();
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    if (buffer) {
        m_io = avio_alloc_context(buffer, kIoBufferSize, 0, this, &AudioDecoder::readPacket, nullptr,
                                  &AudioDecoder::seekPacket);
    }
    if (!m_io) {
        av_free(buffer);
    }
    if (!m_io || !m_format || !m_packet || !m_frame) {
        return outOfMemory();
    }
    m_format->pb = m_io;
    m_format->interrupt_callback = {&AudioDecoder::interrupted, this};
    // Nothing but this file: whatever the file names (a playlist entry, a reference) stays unopened. Some
    // demuxers open what they read through a context of their own, which inherits only the protocol list:
    // one that names no protocol refuses those too.
    m_format->io_open = [](AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) {
        return AVERROR(EPERM);
    };
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "-", 0);

    // The name only helps FFmpeg tell formats apart by their extension; it never opens it.
    const QByteArray hint = QFile::encodeName(QFileInfo(m_path).fileName());
    int result = avformat_open_input(&m_format, hint.constData(), nullptr, &options);
    av_dict_free(&options);
    if (result < 0) {
        // A failed opening frees the context.
        return unreadable(result);
    }
    result = avformat_find_stream_info(m_format, nullptr);
    if (result < 0) {
        return unreadable(result);
    }

    for (unsigned i = 0; i < m_format->nb_streams; ++i) {
        AVStream* stream = m_format->streams[i];
        if (m_stream < 0 && stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO) {
            m_stream = static_cast<int>(i);
        } else {
            // The demuxer then spends nothing on a video or a second audio stream.
            stream->discard = AVDISCARD_ALL;
        }
    }
    if (m_stream < 0) {
        return tr("Il file \"%1\" non contiene audio (%2).")
            .arg(shownName(), reason(AVERROR_STREAM_NOT_FOUND));
    }
    const AVStream* stream = m_format->streams[m_stream];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) {
        return unsupported(AVERROR_DECODER_NOT_FOUND);
    }
    m_codec = avcodec_alloc_context3(codec);
    if (!m_codec) {
        return outOfMemory();
    }
    result = avcodec_parameters_to_context(m_codec, stream->codecpar);
    if (result >= 0) {
        m_codec->pkt_timebase = stream->time_base;
        // A checksum that does not match is an error, not a frame passed on: a damaged file fails.
        m_codec->err_recognition = AV_EF_CRCCHECK | AV_EF_EXPLODE;
        result = avcodec_open2(m_codec, codec, nullptr);
    }
    if (result < 0) {
        return unsupported(result);
    }

    // A length guessed from the bit rate is no measure of whether the file is whole, and the file's own
    // length is the audio's only when nothing else is in it: a film's sound often ends before its picture.
    if (m_format->duration_estimation_method != AVFMT_DURATION_FROM_BITRATE) {
        if (stream->duration > 0) {
            m_declaredSeconds = static_cast<double>(stream->duration) * av_q2d(stream->time_base);
        } else if (m_format->duration > 0 && m_format->nb_streams == 1) {
            m_declaredSeconds = static_cast<double>(m_format->duration) / AV_TIME_BASE;
        }
    }
    return {};
}

AudioInfo AudioDecoder::info() const
{
    AudioInfo info;
    if (!m_format || m_stream < 0) {
        return info;
    }
    const AVStream* stream = m_format->streams[m_stream];
    info.format = formatName(*m_format, *stream->codecpar);
    info.sampleRate =
        m_codec && m_codec->sample_rate > 0 ? m_codec->sample_rate : stream->codecpar->sample_rate;
    info.channels = m_codec && m_codec->ch_layout.nb_channels > 0 ? m_codec->ch_layout.nb_channels
                                                                  : stream->codecpar->ch_layout.nb_channels;
    if (stream->duration > 0) {
        info.seconds = static_cast<double>(stream->duration) * av_q2d(stream->time_base);
    } else if (m_format->duration > 0) {
        info.seconds = static_cast<double>(m_format->duration) / AV_TIME_BASE;
    }
    if (!(info.seconds > 0)) {
        info.seconds = 0;
    }
    return info;
}

bool AudioDecoder::playerFormat() const
{
    if (!m_codec) {
        return false;
    }
    return m_codec->codec_id == AV_CODEC_ID_PCM_U8 && m_codec->sample_rate == TrackSlot::kSampleRate &&
           m_codec->ch_layout.nb_channels == 1;
}

double AudioDecoder::fraction() const
{
    if (m_size <= 0) {
        return 0;
    }
    return std::clamp(static_cast<double>(m_position) / static_cast<double>(m_size), 0.0, 1.0);
}

AudioDecoder::Step AudioDecoder::fail(const QString& message)
{
    m_error = message;
    return Step::Failed;
}

QString AudioDecoder::checkFrame()
{
    if ((m_frame->flags & AV_FRAME_FLAG_CORRUPT) || m_frame->decode_error_flags) {
        return damaged(AVERROR_INVALIDDATA);
    }
    const int channels = m_frame->ch_layout.nb_channels;
    if (channels < 1 || channels > kMaxChannels) {
        return tr("Il file \"%1\" ha %2 canali audio: se ne convertono da 1 a %3 (%4).")
            .arg(shownName())
            .arg(channels)
            .arg(kMaxChannels)
            .arg(reason(AVERROR_PATCHWELCOME));
    }
    if (m_frame->sample_rate < kMinRate || m_frame->sample_rate > kMaxRate) {
        return tr("Il file \"%1\" ha una frequenza di campionamento di %2 Hz: se ne convertono da "
                  "%3 a %4 Hz (%5).")
            .arg(shownName())
            .arg(m_frame->sample_rate)
            .arg(kMinRate)
            .arg(kMaxRate)
            .arg(reason(AVERROR_PATCHWELCOME));
    }
    return {};
}

AudioDecoder::Step AudioDecoder::next()
{
    for (;;) {
        if (m_stop.stop_requested()) {
            return Step::Stopped;
        }
        int result = avcodec_receive_frame(m_codec, m_frame);
        if (result == 0) {
            const QString problem = checkFrame();
            if (!problem.isEmpty()) {
                return fail(problem);
            }
            m_decodedSeconds += static_cast<double>(m_frame->nb_samples) / m_frame->sample_rate;
            return Step::Frame;
        }
        if (result == AVERROR_EOF) {
            return finish();
        }
        if (result != AVERROR(EAGAIN) || m_draining) {
            return fail(damaged(result));
        }

        result = av_read_frame(m_format, m_packet);
        if (result == AVERROR_EOF) {
            m_draining = true;
            result = avcodec_send_packet(m_codec, nullptr);
        } else if (result < 0) {
            if (m_stop.stop_requested()) {
                return Step::Stopped;
            }
            return fail(tr("Il file \"%1\" non si può leggere fino in fondo: è danneggiato o "
                           "illeggibile (%2).")
                            .arg(shownName(), reason(result)));
        } else if (m_packet->stream_index != m_stream) {
            av_packet_unref(m_packet);
            continue;
        } else if (m_packet->flags & AV_PKT_FLAG_CORRUPT) {
            av_packet_unref(m_packet);
            return fail(damaged(AVERROR_INVALIDDATA));
        } else {
            result = avcodec_send_packet(m_codec, m_packet);
            av_packet_unref(m_packet);
        }
        if (result < 0 && result != AVERROR(EAGAIN)) {
            return fail(damaged(result));
        }
    }
}

AudioDecoder::Step AudioDecoder::finish()
{
    if (m_decodedSeconds <= 0) {
        return fail(tr("Il file \"%1\" non contiene suoni: la sua traccia audio è vuota (%2).")
                        .arg(shownName(), reason(AVERROR_EOF)));
    }
    // The container's own length against what came out of it: a few frames of encoder delay or padding
    // are normal, a missing stretch is not.
    const double tolerance = 0.2 + 0.01 * m_declaredSeconds;
    if (m_declaredSeconds > 0 && m_decodedSeconds < m_declaredSeconds - tolerance) {
        const auto asTime = [](double seconds) {
            return Durations::clock(static_cast<qint64>(std::llround(std::min(seconds, 1e12))));
        };
        return fail(
            tr("Il file \"%1\" è incompleto: contiene %2 dei %3 che dichiara (%4).")
                .arg(shownName(), asTime(m_decodedSeconds), asTime(m_declaredSeconds), reason(AVERROR_EOF)));
    }
    return Step::End;
}
