#include "download/WavReader.h"

#include <QFile>
#include <QIODevice>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kRiffHeaderSize = 12;
constexpr std::size_t kChunkHeadSize = 8;
constexpr std::size_t kFormatFieldsSize = 16;

using ChunkHead = std::array<unsigned char, kChunkHeadSize>;

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

bool hasId(const ChunkHead& chunk, const char (&id)[5])
{
    return std::memcmp(chunk.data(), id, 4) == 0;
}

// The file as the walk sees it: read in large windows, so that walking many small chunks costs no system
// call per chunk. The file is only sought where the walk leaves the window.
class ChunkWindow
{
public:
    explicit ChunkWindow(QIODevice& file) : m_file(file), m_bytes(kWindowSize) {}

    // Copies what the file holds of the count bytes at offset into out; returns how many that was.
    qint64 read(qint64 offset, unsigned char* out, qint64 count)
    {
        qint64 copied = 0;
        while (copied < count) {
            const qint64 at = offset + copied;
            if ((at < m_start || at >= m_start + m_length) && !fill(at)) {
                break;
            }
            const qint64 n = std::min(count - copied, m_start + m_length - at);
            std::memcpy(out + copied, m_bytes.data() + (at - m_start), static_cast<std::size_t>(n));
            copied += n;
        }
        return copied;
    }

private:
    static constexpr qint64 kWindowSize = qint64{64} * 1024;

    bool fill(qint64 offset)
    {
        m_start = offset;
        m_length = 0;
        if (m_file.pos() != offset && !m_file.seek(offset)) {
            return false;
        }
        m_length = std::max<qint64>(m_file.read(reinterpret_cast<char*>(m_bytes.data()), kWindowSize), 0);
        return m_length > 0;
    }

    QIODevice& m_file;
    std::vector<unsigned char> m_bytes;
    qint64 m_start = 0;
    qint64 m_length = 0;
};

// Reads what fits of the "fmt " payload; bytes the file does not hold stay 0, so a cut-off format can
// never pass for the player's.
WavFormat readFormat(ChunkWindow& window, qint64 payloadStart, std::uint32_t payloadSize)
{
    WavFormat format{};
    std::array<unsigned char, kFormatFieldsSize> p{};
    window.read(payloadStart, p.data(), std::min<qint64>(payloadSize, static_cast<qint64>(p.size())));
    format.formatTag = le16(p.data());
    format.channels = le16(p.data() + 2);
    format.samplesPerSec = le32(p.data() + 4);
    format.avgBytesPerSec = le32(p.data() + 8);
    format.blockAlign = le16(p.data() + 12);
    format.bitsPerSample = le16(p.data() + 14);
    return format;
}

WavHeader walkChunks(QIODevice& file)
{
    WavHeader header;
    ChunkWindow window(file);
    std::array<unsigned char, kRiffHeaderSize> riff{};
    // Only the chunks decide: the RIFF and WAVE tags are not checked.
    if (window.read(0, riff.data(), riff.size()) != static_cast<qint64>(riff.size()))
        return header;
    header.found = WavHeader::Found::NoData;

    // 64-bit positions: a declared size near 4 GiB moves past the end of the file rather than wrapping
    // back to an earlier chunk. Every step moves at least one chunk head forward and every head must be
    // read in full, so the walk ends with the file.
    constexpr auto kHead = static_cast<qint64>(kChunkHeadSize);
    qint64 chunkStart = static_cast<qint64>(kRiffHeaderSize);
    for (;;) {
        ChunkHead head{};
        if (window.read(chunkStart, head.data(), kHead) != kHead)
            return header;
        const std::uint32_t size = le32(head.data() + 4);
        if (hasId(head, "data")) {
            if (file.seek(chunkStart + kHead)) {
                header.found = WavHeader::Found::Data;
                header.dataSize = size;
            }
            return header;
        }

        qint64 next = chunkStart + kHead + size;
        if (hasId(head, "fmt ")) {
            header.format = readFormat(window, chunkStart + kHead, size);
        } else if (!hasId(head, "fact")) {
            // The RIFF pad byte after an odd-sized payload is stepped over here only; "fmt " and "fact"
            // end exactly where their stored size says.
            next += size & 1u;
        }
        chunkStart = next;
    }
}

} // namespace

WavHeader ReadWavHeader(QIODevice* file, const QString& path)
{
    if (file) {
        return file->seek(0) ? walkChunks(*file) : WavHeader{};
    }
    QFile own(path);
    if (!own.open(QIODevice::ReadOnly))
        return {};
    return walkChunks(own);
}

bool IsDeviceFormat(const WavFormat& format)
{
    return format.formatTag == 1 && format.samplesPerSec == 22050 && format.bitsPerSample == 8 &&
           format.channels == 1;
}

bool IsDeviceFormat(const WavHeader& header)
{
    return header.found == WavHeader::Found::Data && header.format && IsDeviceFormat(*header.format);
}
