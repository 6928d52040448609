#include "sound/QtSoundOutput.h"

#include <QCoreApplication>

#include <cstdio>

// Tries to play a tenth of a second and prints why it could not. A process of its own, because Qt connects
// to the sound server once per process: the test runs it with a server that is not there.
int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QtSoundOutput sound;
    const bool played = sound.play(std::vector<std::uint8_t>(2205, 200));
    std::printf("%s\n%s\n", played ? "played" : "refused", qPrintable(sound.unavailable()));
    return 0;
}
