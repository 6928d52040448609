// Walks the chunks of pathological WAV files and prints one figure per line:
//   empty_chunks_walk_s    seconds to walk 10 million empty chunks (80 MB) before the sample data
//   large_chunks_walk_s    seconds to walk 100,000 chunks of 1 KiB (100 MB) before the sample data
// Usage: wav_reader_bench [folder for the test files, default a temporary one]

#include "download/WavReader.h"

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

namespace {

// A WAV file of the player's format whose "fmt " chunk is followed by count chunks of payload bytes each.
bool writeFile(const QString& path, int count, int payload)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const auto u32 = [](QByteArray& bytes, std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.append(static_cast<char>((v >> shift) & 0xFF));
        }
    };
    QByteArray head("RIFF");
    u32(head, 0);
    head.append("WAVEfmt ");
    u32(head, 16);
    head.append("\x01\x00\x01\x00", 4);
    u32(head, 22050);
    u32(head, 22050);
    head.append("\x01\x00\x08\x00", 4);
    QByteArray chunk("JUNK");
    u32(chunk, static_cast<std::uint32_t>(payload));
    chunk.append(QByteArray(payload, '\0'));
    QByteArray many;
    constexpr int kPerWrite = 4096;
    for (int i = 0; i < kPerWrite; ++i) {
        many.append(chunk);
    }
    bool ok = file.write(head) == head.size();
    for (int written = 0; ok && written < count; written += kPerWrite) {
        const int n = std::min(kPerWrite, count - written);
        ok = file.write(many.constData(), static_cast<qint64>(n) * chunk.size()) == n * chunk.size();
    }
    QByteArray data("data");
    u32(data, 64);
    data.append(QByteArray(64, '\x80'));
    return ok && file.write(data) == data.size();
}

double walkSeconds(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const auto start = std::chrono::steady_clock::now();
    const WavHeader header = ReadWavHeader(&file, QString());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return header.dataSize == 64 && IsDeviceFormat(header) ? seconds : -1;
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    const QString empty = folder + QStringLiteral("/empty-chunks.wav");
    const QString large = folder + QStringLiteral("/large-chunks.wav");
    if (!writeFile(empty, 10'000'000, 0) || !writeFile(large, 100'000, 1024)) {
        std::fprintf(stderr, "cannot write the test files in %s\n", qPrintable(folder));
        return 1;
    }
    std::printf("empty_chunks_walk_s: %.3f\n", walkSeconds(empty));
    std::printf("large_chunks_walk_s: %.3f\n", walkSeconds(large));
    QFile::remove(empty);
    QFile::remove(large);
    return 0;
}
