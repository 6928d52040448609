#include "WavBuilder.h"

#include <QFile>

#include <cassert>

WavBuilder WavBuilder::deviceFormat()
{
    WavBuilder builder;
    builder.fmt(1, 1, 22050, 8);
    return builder;
}

WavBuilder& WavBuilder::fmt(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                            std::uint16_t extraBytes)
{
    const auto blockAlign = static_cast<std::uint16_t>(channels * ((bits + 7) / 8));
    putHead("fmt ", 16u + extraBytes);
    put16(tag);
    put16(channels);
    put32(rate);
    put32(rate * blockAlign);
    put16(blockAlign);
    put16(bits);
    if (extraBytes >= 2) {
        // The extension's own size, then bytes unlike any format field, so that reading them as fields shows.
        put16(static_cast<std::uint16_t>(extraBytes - 2));
        m_chunks.insert(m_chunks.end(), extraBytes - 2u, 0xEE);
    } else if (extraBytes == 1) {
        m_chunks.push_back(0);
    }
    return *this;
}

WavBuilder& WavBuilder::fact(std::uint32_t sampleCount)
{
    putHead("fact", 4);
    put32(sampleCount);
    return *this;
}

WavBuilder& WavBuilder::chunk(const std::string& id, const std::vector<std::uint8_t>& payload, bool pad)
{
    putHead(id, static_cast<std::uint32_t>(payload.size()));
    m_chunks.insert(m_chunks.end(), payload.begin(), payload.end());
    if (pad && payload.size() % 2 != 0)
        m_chunks.push_back(0);
    return *this;
}

WavBuilder& WavBuilder::data(const std::vector<std::uint8_t>& samples)
{
    return chunk("data", samples);
}

WavBuilder& WavBuilder::dataDeclaring(std::uint32_t declaredSize, const std::vector<std::uint8_t>& samples)
{
    putHead("data", declaredSize);
    m_chunks.insert(m_chunks.end(), samples.begin(), samples.end());
    return *this;
}

WavBuilder& WavBuilder::raw(const std::vector<std::uint8_t>& bytes)
{
    m_chunks.insert(m_chunks.end(), bytes.begin(), bytes.end());
    return *this;
}

std::vector<std::uint8_t> WavBuilder::bytes() const
{
    WavBuilder file;
    file.raw({'R', 'I', 'F', 'F'});
    file.put32(static_cast<std::uint32_t>(4 + m_chunks.size()));
    file.raw({'W', 'A', 'V', 'E'});
    file.raw(m_chunks);
    return file.m_chunks;
}

bool WavBuilder::writeTo(const QString& path) const
{
    const std::vector<std::uint8_t> all = bytes();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const auto size = static_cast<qint64>(all.size());
    const bool written = file.write(reinterpret_cast<const char*>(all.data()), size) == size;
    return file.flush() && written;
}

std::vector<std::uint8_t> WavBuilder::samples(std::size_t count, std::uint32_t seed)
{
    std::vector<std::uint8_t> out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        // A hash of (seed, index): no period to line up with report or block sizes.
        std::uint64_t x = (std::uint64_t{seed} << 32) ^ i;
        x ^= x >> 33;
        x *= 0xff51afd7ed558ccdull;
        x ^= x >> 33;
        x *= 0xc4ceb9fe1a85ec53ull;
        x ^= x >> 33;
        auto byte = static_cast<std::uint8_t>(x);
        // 0xFF may occur, but never twice in a row.
        if (byte == 0xFF && !out.empty() && out.back() == 0xFF)
            byte = 0xFE;
        out.push_back(byte);
    }
    return out;
}

void WavBuilder::put16(std::uint16_t value)
{
    m_chunks.push_back(static_cast<std::uint8_t>(value));
    m_chunks.push_back(static_cast<std::uint8_t>(value >> 8));
}

void WavBuilder::put32(std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        m_chunks.push_back(static_cast<std::uint8_t>(value >> shift));
}

void WavBuilder::putHead(const std::string& id, std::uint32_t size)
{
    assert(id.size() == 4 && "chunk ids are four bytes");
    m_chunks.insert(m_chunks.end(), id.begin(), id.end());
    put32(size);
}
