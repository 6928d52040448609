#pragma once

#include <QCoreApplication>
#include <QSaveFile>
#include <QString>

#include <cstdint>

// A RIFF WAVE file of the player's format (PCM, 1 channel, 22050 Hz, 8 bit unsigned: a 16-byte "fmt " chunk,
// then the "data" chunk). It is written beside its name and takes the name only when finished, so a file
// that is never finished leaves nothing behind and a file already there stays as it was.
class PlayerWavWriter
{
    Q_DECLARE_TR_FUNCTIONS(PlayerWavWriter)

public:
    // The most samples a "data" chunk can hold: the RIFF sizes are 32 bits.
    static constexpr std::uint64_t kMaxSamples = 0xFFFFFFFFull - 36 - 1;

    explicit PlayerWavWriter(const QString& target);

    // Each returns an empty string or what to tell the user.
    QString open();
    QString write(const std::uint8_t* samples, std::size_t count);
    QString finish();

    std::uint64_t samples() const { return m_samples; }

private:
    QString writeFailure() const;

    QString m_target;
    QSaveFile m_file;
    std::uint64_t m_samples = 0;
};
