#include "download/WavReader.h"

#include <QFile>
#include <QIODevice>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr qint64 kRiffHeaderSize = 12;
constexpr qint64 kChunkHeadSize = 8;
// One buffer holds a chunk's head and as much of its payload as we ever look at.
constexpr std::size_t kChunkBufferSize = 128;
constexpr qint64 kMaxPayloadRead = static_cast<qint64>(kChunkBufferSize) - kChunkHeadSize;
constexpr std::size_t kFormatFieldsSize = 16;

using ChunkBuffer = std::array<unsigned char, kChunkBufferSize>;

// Assembled byte by byte so the result does not depend on the host's byte order or on alignment.
std::uint16_t le16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t le32(const unsigned char* p)
{
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

bool hasId(const ChunkBuffer& chunk, const char (&id)[5])
{
    return std::memcmp(chunk.data(), id, 4) == 0;
}

char* asChars(unsigned char* p)
{
    return reinterpret_cast<char*>(p);
}

// Reads what fits of the "fmt " payload; bytes the file does not hold stay 0, so a cut-off format can
// never pass for the player's.
void readFormat(QIODevice& file, ChunkBuffer& chunk, std::uint32_t payloadSize, WavFormat* format)
{
    std::fill(chunk.begin() + kChunkHeadSize, chunk.end(), 0);
    const qint64 wanted = std::min<qint64>(payloadSize, kMaxPayloadRead);
    file.read(asChars(chunk.data() + kChunkHeadSize), wanted);
    if (!format)
        return;
    const unsigned char* p = chunk.data() + kChunkHeadSize;
    static_assert(kChunkHeadSize + kFormatFieldsSize <= kChunkBufferSize);
    format->formatTag = le16(p);
    format->channels = le16(p + 2);
    format->samplesPerSec = le32(p + 4);
    format->avgBytesPerSec = le32(p + 8);
    format->blockAlign = le16(p + 12);
    format->bitsPerSample = le16(p + 14);
}

qint64 walkChunks(QIODevice& file, WavFormat* format)
{
    ChunkBuffer chunk{};
    // Only the chunks decide: the RIFF and WAVE tags are not checked.
    if (file.read(asChars(chunk.data()), kRiffHeaderSize) != kRiffHeaderSize)
        return 0;

    // 64-bit positions: a declared size near 4 GiB moves past the end of the file rather than wrapping
    // back to an earlier chunk. Every step moves at least one chunk head forward and every head must be
    // read in full, so the walk ends with the file.
    qint64 chunkStart = kRiffHeaderSize;
    for (;;) {
        if (file.read(asChars(chunk.data()), kChunkHeadSize) != kChunkHeadSize)
            return -1;
        const std::uint32_t size = le32(chunk.data() + 4);
        if (hasId(chunk, "data"))
            return size;

        qint64 next = chunkStart + kChunkHeadSize + size;
        if (hasId(chunk, "fmt ")) {
            readFormat(file, chunk, size, format);
        } else if (!hasId(chunk, "fact")) {
            // The RIFF pad byte after an odd-sized payload is stepped over here only; "fmt " and "fact"
            // end exactly where their stored size says.
            next += size & 1u;
        }
        if (!file.seek(next))
            return -1;
        chunkStart = next;
    }
}

} // namespace

qint64 ReadWavHeader(QIODevice* file, const QString& path, WavFormat* format)
{
    if (file) {
        if (!file->seek(0))
            return 0;
        return walkChunks(*file, format);
    }
    QFile own(path);
    if (!own.open(QIODevice::ReadOnly))
        return 0;
    const qint64 result = walkChunks(own, format);
    own.close();
    return result;
}

bool IsDeviceFormat(const WavFormat& format)
{
    return format.formatTag == 1 && format.samplesPerSec == 22050 && format.bitsPerSample == 8 &&
           format.channels == 1;
}
