#pragma once

#include "download/WavFormat.h"

#include <QtGlobal>

#include <optional>

class QIODevice;
class QString;

// What the walk up to a RIFF WAVE file's sample data found.
struct WavHeader
{
    enum class Found
    {
        // A "data" chunk: the file is positioned at its first sample.
        Data,
        // The file cannot be opened, or is shorter than the 12-byte RIFF header.
        Unreadable,
        // The file ends (or cannot be walked further) before a "data" chunk.
        NoData,
    };

    Found found = Found::Unreadable;
    // The size the "data" chunk declares, which the file may not hold.
    qint64 dataSize = 0;
    // The last "fmt " chunk before the data, when there was one.
    std::optional<WavFormat> format;
};

// Walks the chunks of a RIFF WAVE file up to its sample data. With a file, reads it from the start and
// leaves it open; otherwise opens path itself and closes it again.
WavHeader ReadWavHeader(QIODevice* file, const QString& path);

// The only format the player takes: uncompressed PCM, 22050 samples per second, 8 bits, mono.
bool IsDeviceFormat(const WavFormat& format);
// Sample data in that format.
bool IsDeviceFormat(const WavHeader& header);
