// Writes the seed corpus of audio_convert_fuzzer into a folder: short files of every format the converter
// is meant for, made with FFmpeg's own encoders, so that fuzzing starts from inside each demuxer and decoder
// rather than from their first bytes. Usage: audio_fuzz_seeds FOLDER
#include "AudioFileMaker.h"

#include <QDir>

#include <cmath>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    using Format = AudioFileMaker::Format;
    const struct
    {
        const char* name;
        Format format;
    } seeds[] = {
        {"pcm16.wav", {"wav", "pcm_s16le", 8000, 2}},
        {"pcm24.wav", {"wav", "pcm_s24le", 11025, 1}},
        {"float.wav", {"wav", "pcm_f32le", 8000, 6}},
        {"adpcm.wav", {"wav", "adpcm_ima_wav", 8000, 1}},
        {"tone.mp3", {"mp3", "libmp3lame", 8000, 1, 8000}},
        {"tone.flac", {"flac", "flac", 8000, 2}},
        {"tone.ogg", {"ogg", "libvorbis", 8000, 1}},
        {"tone.opus", {"ogg", "libopus", 8000, 1, 8000}},
        {"tone.m4a", {"ipod", "aac", 8000, 1, 16000}},
        {"tone.aiff", {"aiff", "pcm_s16be", 8000, 1}},
        {"film.mkv", {"matroska", "flac", 8000, 1, 0, -1, 0.1}},
    };
    int failures = 0;
    for (const auto& seed : seeds) {
        const QString error =
            AudioFileMaker::write(folder.filePath(QString::fromLatin1(seed.name)), seed.format, 0.1,
                                  AudioFileMaker::sine(440, 0.5, seed.format.rate));
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s: %s\n", seed.name, qPrintable(error));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
