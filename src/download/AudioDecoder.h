#pragma once

#include "download/AudioInfo.h"
#include "download/SourceFile.h"

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <stop_token>

struct AVCodecContext;
struct AVCodecParameters;
struct AVFormatContext;
struct AVFrame;
struct AVIOContext;
struct AVPacket;

// The first audio stream of a file, decoded frame by frame by FFmpeg.
//
// FFmpeg reads only through the handle SourceFile opened and is never given a name to open: a FIFO or a
// device is never opened, a name is never taken for a protocol ("http:", "concat:"), and a playlist or a
// reference inside the file cannot make it open anything else.
class AudioDecoder
{
    Q_DECLARE_TR_FUNCTIONS(AudioDecoder)

public:
    explicit AudioDecoder(const QString& path);
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder&) = delete;
    AudioDecoder& operator=(const AudioDecoder&) = delete;

    // Empty when the stream is ready to decode; otherwise what to tell the user. A stop request interrupts
    // FFmpeg wherever it reads the file.
    QString open(const std::stop_token& stop);
    AudioInfo info() const;
    // The stream holds the player's own samples (8-bit unsigned, 22050 Hz, mono): decoded, they come out as
    // they are stored.
    bool playerFormat() const;

    enum class Step
    {
        Frame,
        End,
        Stopped,
        Failed
    };
    // Decodes up to the next frame, which frame() then holds until the next call. A stream that ends with
    // nothing decoded, or well short of the length it declares, ends with Failed: a cut or damaged file is
    // never passed off as a whole one.
    Step next();
    const AVFrame& frame() const { return *m_frame; }
    QString error() const { return m_error; }

    // How far through the file reading has got, 0..1.
    double fraction() const;

    // The file's name as the messages show it, and FFmpeg's reason for an error code.
    QString shownName() const;
    static QString reason(int code);

private:
    Step fail(const QString& message);
    // The messages for a file FFmpeg refuses, each with FFmpeg's reason for the code.
    QString damaged(int code) const;
    QString unreadable(int code) const;
    QString unsupported(int code) const;
    QString outOfMemory() const;
    // The format as the user knows it: "MP3", "WAV (PCM 16 bit)".
    static QString formatName(const AVFormatContext& format, const AVCodecParameters& codec);
    Step finish();
    QString checkFrame();

    static int readPacket(void* opaque, std::uint8_t* buffer, int size);
    static std::int64_t seekPacket(void* opaque, std::int64_t offset, int whence);
    static int interrupted(void* opaque);

    QString m_path;
    SourceFile m_source;
    std::stop_token m_stop;
    qint64 m_size = 0;
    qint64 m_position = 0;

    AVIOContext* m_io = nullptr;
    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_codec = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    int m_stream = -1;
    bool m_draining = false;

    double m_declaredSeconds = 0; // 0: the file does not say, or only guesses from its bit rate
    double m_decodedSeconds = 0;
    QString m_error;
};
