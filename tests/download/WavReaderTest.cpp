#include "download/WavReader.h"

#include "WavBuilder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <tuple>

namespace {

// The data chunk's declared size; 0 for a file that cannot be read, -1 for one without data.
qint64 declared(const WavHeader& header)
{
    switch (header.found) {
    case WavHeader::Found::Data:
        return header.dataSize;
    case WavHeader::Found::Unreadable:
        return 0;
    case WavHeader::Found::NoData:
        break;
    }
    return -1;
}

// The same, and the format the walk found.
qint64 declared(const WavHeader& header, WavFormat* format)
{
    if (format && header.format) {
        *format = *header.format;
    }
    return declared(header);
}

using Bytes = std::vector<std::uint8_t>;

const Bytes kSamples = WavBuilder::samples(64);
constexpr WavFormat kUntouched{0xA5A5, 0xA5A5, 0xA5A5A5A5, 0xA5A5A5A5, 0xA5A5, 0xA5A5};

auto fields(const WavFormat& f)
{
    return std::tuple(f.formatTag, f.channels, f.samplesPerSec, f.avgBytesPerSec, f.blockAlign,
                      f.bitsPerSample);
}

Bytes head(const char* id, std::uint32_t size)
{
    return {std::uint8_t(id[0]), std::uint8_t(id[1]),     std::uint8_t(id[2]),      std::uint8_t(id[3]),
            std::uint8_t(size),  std::uint8_t(size >> 8), std::uint8_t(size >> 16), std::uint8_t(size >> 24)};
}

// The device-format "fmt " payload cut to its first n bytes.
Bytes formatPayload(std::size_t n)
{
    const Bytes all = WavBuilder::deviceFormat().bytes();
    return Bytes(all.begin() + 20, all.begin() + 20 + static_cast<std::ptrdiff_t>(n));
}

struct Outcome
{
    const char* device;
    qint64 result = 0;
    qint64 pos = 0;
    WavFormat format = kUntouched;
    int next = -1; // the byte read right after, -1 at the end
};

class WavReaderTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;

    QString write(const Bytes& bytes, const QString& name = "track.wav")
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        return file.fileName();
    }

    // Reads through a read-only QBuffer, which refuses seeks past its end, and through a caller's QFile,
    // which allows them and comes back short on the next read.
    std::vector<Outcome> readOnBoth(const Bytes& bytes)
    {
        QByteArray array(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
        QBuffer buffer(&array);
        QFile file(write(bytes));
        std::vector<Outcome> outcomes{{"QBuffer"}, {"QFile"}};
        QIODevice* devices[] = {&buffer, &file};
        for (std::size_t i = 0; i < 2; ++i) {
            EXPECT_TRUE(devices[i]->open(QIODevice::ReadOnly));
            Outcome& out = outcomes[i];
            out.result = declared(ReadWavHeader(devices[i], {}), &out.format);
            out.pos = devices[i]->pos();
            char c;
            if (devices[i]->getChar(&c))
                out.next = static_cast<std::uint8_t>(c);
        }
        return outcomes;
    }
};

TEST_F(WavReaderTest, FindsTheSamplesWhateverComesBeforeThem)
{
    struct Case
    {
        const char* name;
        WavBuilder before;
        std::uint32_t declared;
        qint64 dataOffset;
        bool deviceFormat;
    };
    const Case cases[] = {
        {"standard", WavBuilder::deviceFormat(), 64, 44, true},
        {"empty data", WavBuilder::deviceFormat(), 0, 44, true},
        {"fact skipped", WavBuilder::deviceFormat().fact(64), 64, 56, true},
        {"fact first", WavBuilder().fact(64).fmt(1, 1, 22050, 8), 64, 56, true},
        {"18-byte fmt, next chunk 26 on", WavBuilder().fmt(1, 1, 22050, 8, 2), 64, 46, true},
        {"17-byte fmt, unpadded", WavBuilder().fmt(1, 1, 22050, 8, 1).fact(1), 64, 57, true},
        {"121-byte fmt", WavBuilder().fmt(1, 1, 22050, 8, 105), 64, 149, true},
        {"216-byte fmt", WavBuilder().fmt(1, 1, 22050, 8, 200), 64, 244, true},
        {"LIST first", WavBuilder().chunk("LIST", WavBuilder::samples(10, 2)).fmt(1, 1, 22050, 8), 64, 62,
         true},
        {"JUNK", WavBuilder::deviceFormat().chunk("JUNK", Bytes(28, 0)), 64, 80, true},
        {"odd unknown, padded", WavBuilder::deviceFormat().chunk("id3 ", WavBuilder::samples(5, 3)), 64, 58,
         true},
        {"ids match exactly", WavBuilder::deviceFormat().raw(head("fmt", 16)).raw(Bytes(16, 0)), 64, 68,
         true},
        {"second fmt wins", WavBuilder().fmt(3, 2, 44100, 16).fmt(1, 1, 22050, 8), 64, 68, true},
        {"second fmt loses", WavBuilder::deviceFormat().fmt(1, 2, 22050, 8), 64, 68, false},
        {"size 0xFFFFFFF8", WavBuilder::deviceFormat(), 0xFFFFFFF8, 44, true},
        {"size 0xFFFFFFFF", WavBuilder::deviceFormat(), 0xFFFFFFFF, 44, true},
    };
    for (const Case& c : cases) {
        WavBuilder file = c.before;
        Bytes bytes = file.dataDeclaring(c.declared, kSamples).bytes();
        for (const Outcome& out : readOnBoth(bytes)) {
            SCOPED_TRACE(std::string(c.name) + " via " + out.device);
            EXPECT_EQ(out.result, qint64{c.declared});
            EXPECT_EQ(out.pos, c.dataOffset);
            EXPECT_EQ(out.next, kSamples[0]);
            EXPECT_EQ(IsDeviceFormat(out.format), c.deviceFormat);
        }
        if (&c == &cases[0]) {
            std::copy_n("RIFX\0\0\0\0AVI ", 12, bytes.begin());
            for (const Outcome& out : readOnBoth(bytes))
                EXPECT_EQ(out.pos, 44) << "RIFF and WAVE tags are not checked, via " << out.device;
        }
    }
}

TEST_F(WavReaderTest, ReportsTheFormatFromTheFirstSixteenBytes)
{
    const WavFormat refused[] = {
        {1, 1, 22050, 0, 0, 16}, {1, 2, 22050, 0, 0, 8}, {1, 1, 44100, 0, 0, 8}, {3, 1, 22050, 0, 0, 8}};
    for (const WavFormat& f : refused) {
        WavBuilder file;
        file.fmt(f.formatTag, f.channels, f.samplesPerSec, f.bitsPerSample, 200).data(kSamples);
        for (const Outcome& out : readOnBoth(file.bytes())) {
            SCOPED_TRACE(testing::PrintToString(fields(f)) + " via " + out.device);
            EXPECT_EQ(std::tuple(out.format.formatTag, out.format.channels, out.format.samplesPerSec,
                                 out.format.bitsPerSample),
                      std::tuple(f.formatTag, f.channels, f.samplesPerSec, f.bitsPerSample));
            EXPECT_FALSE(IsDeviceFormat(out.format));
        }
    }
    for (const Outcome& out : readOnBoth(WavBuilder::deviceFormat().data(kSamples).bytes()))
        EXPECT_EQ(fields(out.format), std::tuple(1, 1, 22050u, 22050u, 1, 8)) << out.device;
    EXPECT_TRUE(IsDeviceFormat({1, 1, 22050, 0, 0, 8})) << "byte rate and block size are not looked at";

    // Fields missing from a short "fmt " read as 0; an odd-sized one is not padded either.
    const std::pair<std::size_t, WavFormat> shortFormats[] = {
        {0, {0, 0, 0, 0, 0, 0}}, {7, {1, 1, 22050, 0, 0, 0}}, {14, {1, 1, 22050, 22050, 1, 0}}};
    for (const auto& [size, expected] : shortFormats) {
        for (const Outcome& out :
             readOnBoth(WavBuilder().chunk("fmt ", formatPayload(size), false).data(kSamples).bytes())) {
            SCOPED_TRACE(std::to_string(size) + "-byte fmt via " + out.device);
            EXPECT_EQ(out.result, 64);
            EXPECT_EQ(fields(out.format), fields(expected));
        }
    }
    for (const Outcome& out : readOnBoth(WavBuilder().chunk("LIST", Bytes(4, 1)).data(kSamples).bytes())) {
        EXPECT_EQ(out.result, 64);
        EXPECT_EQ(fields(out.format), fields(kUntouched))
            << "no fmt chunk, nothing written, via " << out.device;
    }
}

TEST_F(WavReaderTest, FilesEndingBeforeTheSamplesGiveMinusOne)
{
    std::vector<std::pair<std::string, Bytes>> cases = {
        {"no data chunk", WavBuilder::deviceFormat().bytes()},
        {"nothing after the RIFF header", WavBuilder().bytes()},
        {"cut inside a chunk head", WavBuilder::deviceFormat().raw({'d', 'a', 't'}).bytes()},
        {"unknown chunk past the end",
         WavBuilder::deviceFormat().raw(head("LIST", 1000)).data(kSamples).bytes()},
        {"fmt past the end", WavBuilder().raw(head("fmt ", 16)).raw(formatPayload(4)).bytes()},
    };
    // Sizes that wrap a 32-bit position back onto this chunk or into its payload, where a "data" head waits.
    for (const char* id : {"LIST", "fmt ", "fact", "id3 "})
        for (std::uint32_t size = 0xFFFFFFF8; size != 0; ++size)
            cases.emplace_back(std::string(id) + " of " + std::to_string(size),
                               WavBuilder::deviceFormat().raw(head(id, size)).data(kSamples).bytes());
    for (const auto& [name, bytes] : cases) {
        for (const Outcome& out : readOnBoth(bytes)) {
            SCOPED_TRACE(name + " via " + out.device);
            EXPECT_EQ(out.result, -1);
            if (name == "fmt past the end") {
                EXPECT_EQ(fields(out.format), std::tuple(1, 1, 0u, 0u, 0, 0))
                    << "bytes past the end read as 0";
            }
        }
    }
}

TEST_F(WavReaderTest, OpensAndClosesOnlyWhatItOpened)
{
    const Bytes track = WavBuilder::deviceFormat().fact(64).data(kSamples).bytes();
    const QString path = write(track);
    const QString shortPath = write(Bytes(track.begin(), track.begin() + 11), "short.wav");

    const auto openFiles = [] {
        return QDir("/proc/self/fd").count();
    };
    const auto before = openFiles();
    WavFormat format;
    EXPECT_EQ(declared(ReadWavHeader(nullptr, path), &format), 64);
    EXPECT_TRUE(IsDeviceFormat(format));
    EXPECT_EQ(ReadWavHeader(nullptr, shortPath).found, WavHeader::Found::Unreadable);
    EXPECT_EQ(ReadWavHeader(nullptr, write(WavBuilder().bytes(), "bare.wav")).found,
              WavHeader::Found::NoData);
    EXPECT_EQ(ReadWavHeader(nullptr, dir.filePath("missing.wav")).found, WavHeader::Found::Unreadable);
    EXPECT_EQ(ReadWavHeader(nullptr, QString()).found, WavHeader::Found::Unreadable);
    EXPECT_EQ(openFiles(), before);

    // A caller's file is read from its start, however far it had got, and left open at the first sample.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    file.read(50);
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(declared(ReadWavHeader(&file, QString("ignored"))), 64);
        EXPECT_TRUE(file.isOpen());
        EXPECT_EQ(file.read(64), QByteArray(reinterpret_cast<const char*>(kSamples.data()), 64));
    }
    QFile shortFile(shortPath);
    ASSERT_TRUE(shortFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(ReadWavHeader(&shortFile, {}).found, WavHeader::Found::Unreadable);
    EXPECT_TRUE(shortFile.isOpen());
}

} // namespace
