#pragma once

#include "download/SoundOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>

#include <memory>

class QAudioSink;

// The computer's default sound output through QAudioSink (PulseAudio on Linux). Starting returns at once:
// the sink pulls the samples from a buffer of its own on the thread's event loop, so playing needs that loop
// running (a QCoreApplication is enough). The reason a start failed stays in unavailable() until the next
// play().
class QtSoundOutput final : public SoundOutput
{
    Q_DECLARE_TR_FUNCTIONS(QtSoundOutput)

public:
    QtSoundOutput();
    ~QtSoundOutput() override;
    QtSoundOutput(const QtSoundOutput&) = delete;
    QtSoundOutput& operator=(const QtSoundOutput&) = delete;

    QString unavailable() const override;
    bool play(std::vector<std::uint8_t> samples) override;
    void stop() override;
    bool playing() const override;
    std::uint64_t position() const override;
    void setVolume(double volume) override;

    // The player's own: 8-bit unsigned mono at 22050 Hz.
    static QAudioFormat playerFormat();

private:
    // Where the sink is in the samples by its own clock, whatever has been heard until now.
    std::uint64_t heard() const;
    void sinkStopped();

    QByteArray m_samples;
    QBuffer m_buffer;
    // Kept from one play() to the next: destroying a sink runs the event loop (Qt's PulseAudio sink does).
    std::unique_ptr<QAudioSink> m_sink;
    QAudioDevice m_sinkDevice;
    QString m_failure;
    // What was heard when stop() came, which the stopped sink no longer says.
    std::uint64_t m_stoppedAt = 0;
    double m_volume = 1.0;
};
