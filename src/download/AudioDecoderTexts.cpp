#include "download/AudioDecoder.h"

#include <QDir>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
}

// What the decoder tells the user, apart from the decoding: the names of formats and the reasons a file
// cannot be decoded.

namespace {

bool isFloatPcm(AVCodecID id)
{
    return id == AV_CODEC_ID_PCM_F16LE || id == AV_CODEC_ID_PCM_F24LE || id == AV_CODEC_ID_PCM_F32BE ||
           id == AV_CODEC_ID_PCM_F32LE || id == AV_CODEC_ID_PCM_F64BE || id == AV_CODEC_ID_PCM_F64LE;
}

} // namespace

QString AudioDecoder::formatName(const AVFormatContext& format, const AVCodecParameters& codec)
{
    const QString container = QString::fromLatin1(format.iformat->name);
    switch (codec.codec_id) {
    case AV_CODEC_ID_MP1:
        return QStringLiteral("MP1");
    case AV_CODEC_ID_MP2:
        return QStringLiteral("MP2");
    case AV_CODEC_ID_MP3:
        return QStringLiteral("MP3");
    case AV_CODEC_ID_FLAC:
        return QStringLiteral("FLAC");
    case AV_CODEC_ID_VORBIS:
        return container == QLatin1String("ogg") ? QStringLiteral("Ogg Vorbis") : QStringLiteral("Vorbis");
    case AV_CODEC_ID_OPUS:
        return QStringLiteral("Opus");
    case AV_CODEC_ID_AAC:
    case AV_CODEC_ID_AAC_LATM:
        return QStringLiteral("AAC");
    case AV_CODEC_ID_ALAC:
        return QStringLiteral("ALAC");
    case AV_CODEC_ID_AC3:
        return QStringLiteral("AC-3");
    case AV_CODEC_ID_EAC3:
        return QStringLiteral("E-AC-3");
    case AV_CODEC_ID_PCM_ALAW:
        return QStringLiteral("A-law");
    case AV_CODEC_ID_PCM_MULAW:
        return QStringLiteral("µ-law");
    default:
        break;
    }
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(codec.codec_id);
    QString name = descriptor
                       ? QString::fromUtf8(descriptor->long_name ? descriptor->long_name : descriptor->name)
                       : tr("sconosciuto", "codec");
    // Raw samples are known by their container and their size rather than by the codec's name.
    if (codec.codec_id >= AV_CODEC_ID_PCM_S16LE && codec.codec_id < AV_CODEC_ID_ADPCM_IMA_QT) {
        const int bits = codec.bits_per_raw_sample > 0 ? codec.bits_per_raw_sample
                                                       : av_get_bits_per_sample(codec.codec_id);
        name = isFloatPcm(codec.codec_id) ? tr("PCM %1 bit virgola mobile").arg(bits)
                                          : tr("PCM %1 bit").arg(bits);
    }
    if (container == QLatin1String("wav") || container == QLatin1String("w64")) {
        return QStringLiteral("WAV (%1)").arg(name);
    }
    if (container == QLatin1String("aiff")) {
        return QStringLiteral("AIFF (%1)").arg(name);
    }
    return name;
}

QString AudioDecoder::shownName() const
{
    return QDir::toNativeSeparators(m_path);
}

QString AudioDecoder::reason(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QStringLiteral("FFmpeg: %1").arg(QString::fromLocal8Bit(text));
}

QString AudioDecoder::damaged(int code) const
{
    return tr("Il file \"%1\" è danneggiato e non si può convertire (%2).").arg(shownName(), reason(code));
}

QString AudioDecoder::unreadable(int code) const
{
    return tr("Il file \"%1\" non è un file audio leggibile (%2).").arg(shownName(), reason(code));
}

QString AudioDecoder::unsupported(int code) const
{
    return tr("Il formato audio del file \"%1\" non è supportato (%2).").arg(shownName(), reason(code));
}

QString AudioDecoder::outOfMemory() const
{
    return tr("Memoria insufficiente per leggere il file \"%1\" (%2).")
        .arg(shownName(), reason(AVERROR(ENOMEM)));
}
