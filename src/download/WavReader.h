#pragma once

#include "download/WavFormat.h"

#include <QtGlobal>

class QIODevice;
class QString;

// Walks the chunks of a RIFF WAVE file up to its sample data.
//
// With a file, reads it from the start and leaves it open; otherwise opens path itself and closes it again.
// Returns the size the "data" chunk declares (the file is then positioned at its first sample), 0 when the
// file cannot be opened or is shorter than the 12-byte RIFF header, and -1 when the file ends (or cannot
// be walked further) before a "data" chunk. format is written only when a "fmt " chunk is read.
qint64 ReadWavHeader(QIODevice* file, const QString& path, WavFormat* format);

// The only format the player takes: uncompressed PCM, 22050 samples per second, 8 bits, mono.
bool IsDeviceFormat(const WavFormat& format);
