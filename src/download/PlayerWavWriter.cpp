#include "download/PlayerWavWriter.h"

#include <QByteArray>
#include <QDir>

namespace {

constexpr std::uint32_t kRate = 22050;
constexpr int kHeaderSize = 44;

QByteArray header(std::uint32_t samples)
{
    QByteArray bytes;
    bytes.reserve(kHeaderSize);
    const auto u16 = [&bytes](std::uint32_t v) {
        bytes.append(static_cast<char>(v & 0xFF));
        bytes.append(static_cast<char>((v >> 8) & 0xFF));
    };
    const auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    bytes.append("RIFF", 4);
    u32(36 + samples + (samples & 1));
    bytes.append("WAVEfmt ", 8);
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(kRate);
    u32(kRate); // bytes per second: one byte a sample
    u16(1);     // block align
    u16(8);     // bits per sample
    bytes.append("data", 4);
    u32(samples);
    return bytes;
}

} // namespace

PlayerWavWriter::PlayerWavWriter(const QString& target) : m_target(target), m_file(target) {}

QString PlayerWavWriter::writeFailure() const
{
    return tr("Impossibile scrivere il file convertito \"%1\" (%2): controllare lo spazio libero "
              "e i permessi della cartella.")
        .arg(QDir::toNativeSeparators(m_target), m_file.errorString());
}

QString PlayerWavWriter::open()
{
    if (!m_file.open(QIODevice::WriteOnly)) {
        return writeFailure();
    }
    // Rewritten with the real sizes at the end.
    const QByteArray head = header(0);
    return m_file.write(head) == head.size() ? QString() : writeFailure();
}

QString PlayerWavWriter::write(const std::uint8_t* samples, std::size_t count)
{
    const auto size = static_cast<qint64>(count);
    if (m_file.write(reinterpret_cast<const char*>(samples), size) != size) {
        return writeFailure();
    }
    m_samples += count;
    return {};
}

QString PlayerWavWriter::finish()
{
    const auto samples = static_cast<std::uint32_t>(m_samples);
    // RIFF chunks are padded to an even size.
    if ((samples & 1) && !m_file.putChar('\0')) {
        return writeFailure();
    }
    const QByteArray head = header(samples);
    if (!m_file.seek(0) || m_file.write(head) != head.size() || !m_file.commit()) {
        return writeFailure();
    }
    return {};
}
