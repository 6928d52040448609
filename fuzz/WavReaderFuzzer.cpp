// Feeds arbitrary bytes to the WAV header walk. Besides the sanitizers, it checks that whatever the reader
// claims to have found is really there.
#include "FuzzChecks.h"

#include "download/WavReader.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using FuzzChecks::check;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qInstallMessageHandler(FuzzChecks::quietMessages);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Not copied: a read outside the fuzzer's own allocation is what AddressSanitizer is here to see.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(bytes);
    // Read-only: a writable QBuffer would fill a seek past its end with zeros, up to gigabytes.
    check(buffer.open(QIODevice::ReadOnly));

    const WavHeader header = ReadWavHeader(&buffer, QString());
    IsDeviceFormat(header);
    const qint64 result = header.dataSize;

    check(result >= 0 && result <= 0xFFFFFFFF);
    check((size < 12) == (header.found == WavHeader::Found::Unreadable));
    if (header.found == WavHeader::Found::Data) {
        // Positioned right after a "data" head that declares the size returned.
        const qint64 pos = buffer.pos();
        check(pos >= 20 && pos <= qint64(size));
        const std::uint8_t* head = data + pos - 8;
        const std::uint32_t declared = std::uint32_t{head[4]} | (std::uint32_t{head[5]} << 8) |
                                       (std::uint32_t{head[6]} << 16) | (std::uint32_t{head[7]} << 24);
        check(std::memcmp(head, "data", 4) == 0 && declared == result);
    }
    const qint64 before = buffer.pos();
    const QByteArray rest = buffer.readAll();
    check(before + rest.size() == qint64(size));
    return 0;
}
