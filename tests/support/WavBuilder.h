#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// Builds RIFF WAVE files byte by byte, including malformed ones.
class WavBuilder
{
public:
    // A builder already holding a "fmt " chunk of the player's format (PCM, 1 channel, 22050 Hz, 8 bit).
    static WavBuilder deviceFormat();

    // blockAlign and avgBytesPerSec follow from the other fields. extraBytes > 0: the payload is
    // 16 + extraBytes bytes (an 18-byte "fmt " has extraBytes = 2); the chunk never gets a pad byte.
    WavBuilder& fmt(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                    std::uint16_t extraBytes = 0);
    WavBuilder& fact(std::uint32_t sampleCount);
    // Any chunk; an odd-sized payload gets its RIFF pad byte unless pad is false.
    WavBuilder& chunk(const std::string& id, const std::vector<std::uint8_t>& payload, bool pad = true);
    WavBuilder& data(const std::vector<std::uint8_t>& samples);
    // A "data" chunk declaring declaredSize but holding the given samples (streamed or truncated files).
    WavBuilder& dataDeclaring(std::uint32_t declaredSize, const std::vector<std::uint8_t>& samples);
    WavBuilder& raw(const std::vector<std::uint8_t>& bytes);

    // The whole file: "RIFF", the size of what follows, "WAVE", then the chunks in the order added.
    std::vector<std::uint8_t> bytes() const;
    // Writes bytes() to path; false when it cannot.
    bool writeTo(const QString& path) const;

    // count sample bytes of a recognisable, non-repeating pattern (no run of 64 bytes of 0xFF), different
    // for each seed.
    static std::vector<std::uint8_t> samples(std::size_t count, std::uint32_t seed = 1);

    // Offset in bytes() of the first byte after everything added so far: where the next chunk will start.
    std::size_t nextOffset() const { return kRiffHeaderSize + m_chunks.size(); }

    static constexpr std::size_t kRiffHeaderSize = 12;

private:
    void put16(std::uint16_t value);
    void put32(std::uint32_t value);
    void putHead(const std::string& id, std::uint32_t size);

    std::vector<std::uint8_t> m_chunks;
};
