#include "sound/QtSoundOutput.h"

#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSampleRate = 22050;

QString sinkError(QAudio::Error error)
{
    switch (error) {
    case QAudio::OpenError:
        return QtSoundOutput::tr("l'uscita audio non si è aperta");
    case QAudio::IOError:
        return QtSoundOutput::tr("l'uscita audio non ha preso i campioni");
    case QAudio::UnderrunError:
        return QtSoundOutput::tr("i campioni non sono arrivati in tempo");
    case QAudio::FatalError:
        return QtSoundOutput::tr("il server audio non risponde");
    case QAudio::NoError:
        break;
    }
    return QtSoundOutput::tr("l'uscita audio si è fermata");
}

} // namespace

QtSoundOutput::QtSoundOutput() = default;

QtSoundOutput::~QtSoundOutput()
{
    // Here rather than with the members: the sink's destructor hands out events, and whatever they call
    // must still find this object whole (and no sink).
    if (m_sink) {
        m_sink->disconnect();
        m_sink.reset();
    }
}

QAudioFormat QtSoundOutput::playerFormat()
{
    QAudioFormat format;
    format.setSampleRate(kSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::UInt8);
    return format;
}

QString QtSoundOutput::unavailable() const
{
    if (!m_failure.isEmpty()) {
        return m_failure;
    }
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        return tr("Nessuna uscita audio: il computer non ne ha una, o il suo server audio non risponde.");
    }
    if (!device.isFormatSupported(playerFormat())) {
        return tr("L'uscita audio «%1» non accetta il suono del lettore (8 bit, 22050 Hz, mono).")
            .arg(device.description());
    }
    return {};
}

bool QtSoundOutput::play(std::vector<std::uint8_t> samples)
{
    stop();
    m_stoppedAt = 0;
    m_failure.clear();
    if (!unavailable().isEmpty()) {
        return false;
    }
    m_buffer.close();
    m_samples =
        QByteArray(reinterpret_cast<const char*>(samples.data()), static_cast<qsizetype>(samples.size()));
    m_buffer.setBuffer(&m_samples);
    m_buffer.open(QIODevice::ReadOnly);
    if (m_samples.isEmpty()) {
        return true;
    }

    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (m_sink && device != m_sinkDevice) {
        // Destroyed from the event loop, not inside this call: its destructor hands out events.
        m_sink->disconnect();
        m_sink.release()->deleteLater();
    }
    if (!m_sink) {
        m_sink = std::make_unique<QAudioSink>(device, playerFormat());
        m_sinkDevice = device;
        // Queued when the server's thread reports: by then this sink may be on its way out.
        QAudioSink* sink = m_sink.get();
        QObject::connect(sink, &QAudioSink::stateChanged, sink, [this, sink](QAudio::State state) {
            if (sink == m_sink.get() && state == QAudio::StoppedState && sink->error() != QAudio::NoError) {
                sinkStopped();
            }
        });
    }
    m_sink->setVolume(m_volume);
    m_sink->start(&m_buffer);
    if (m_sink->state() == QAudio::StoppedState || m_sink->error() != QAudio::NoError) {
        sinkStopped();
        return false;
    }
    return true;
}

void QtSoundOutput::sinkStopped()
{
    m_failure = tr("L'uscita audio non suona: %1.").arg(sinkError(m_sink->error()));
    m_sink->stop();
}

void QtSoundOutput::stop()
{
    if (m_sink && m_sink->state() != QAudio::StoppedState) {
        m_stoppedAt = heard();
        m_sink->stop();
    }
}

bool QtSoundOutput::playing() const
{
    if (!m_sink) {
        return false;
    }
    switch (m_sink->state()) {
    case QAudio::ActiveState:
        return true;
    case QAudio::IdleState:
        // Idle once it has taken every sample; the server still plays what it holds.
        return heard() < static_cast<std::uint64_t>(m_samples.size());
    default:
        return false;
    }
}

std::uint64_t QtSoundOutput::position() const
{
    if (!m_sink || m_sink->state() == QAudio::StoppedState) {
        return m_stoppedAt;
    }
    return heard();
}

std::uint64_t QtSoundOutput::heard() const
{
    const auto samples = static_cast<std::uint64_t>(m_sink->processedUSecs()) * kSampleRate / 1000000;
    return std::min(samples, static_cast<std::uint64_t>(m_samples.size()));
}

void QtSoundOutput::setVolume(double volume)
{
    m_volume = std::isnan(volume) ? 0.0 : std::clamp(volume, 0.0, 1.0);
    if (m_sink) {
        m_sink->setVolume(m_volume);
    }
}
