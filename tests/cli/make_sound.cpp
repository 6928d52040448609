#include "AudioFileMaker.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

// Writes an MP3 of a steady tone for scripts/test-cli, which has no encoder of its own:
//   make_sound FILE.mp3 SECONDS
int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fputs("usage: make_sound FILE.mp3 SECONDS\n", stderr);
        return 2;
    }
    const AudioFileMaker::Format mp3{"mp3", "libmp3lame", 44100, 2, 128000};
    const QString error = AudioFileMaker::write(QString::fromLocal8Bit(argv[1]), mp3, std::atof(argv[2]),
                                                AudioFileMaker::sine(440, 0.5, 44100));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
