#pragma once

#include <QCoreApplication>
#include <QString>

// What a sound file holds, as far as its first audio stream goes: shown to the user before a conversion.
struct AudioInfo
{
    QString format; // "MP3", "FLAC", "Ogg Vorbis", "Opus", "AAC", "WAV (PCM 16 bit)", ...
    int sampleRate = 0;
    int channels = 0;
    double seconds = 0; // 0 when the file does not say

    // In the user's language, e.g. "MP3, 44100 Hz, stereo, 3:12"; what the file does not say is left out.
    QString description() const;

    // Last: the macro leaves what follows it private.
    Q_DECLARE_TR_FUNCTIONS(AudioInfo)
};
