#include "sim/FlashImage.h"

#include "FileSizeLimit.h"

#include "device/Protocol.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const std::filesystem::path& path)
{
    Bytes bytes(std::filesystem::file_size(path));
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

class FlashImageTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }

    std::filesystem::path m_path = std::filesystem::temp_directory_path() /
                                   ("flash-image-" + std::to_string(std::random_device()()) + ".bin");
    std::string m_error;
};

TEST_F(FlashImageTest, EveryKindOfChangeReachesTheImageAtOnceAndNeverGrowsIt)
{
    std::optional<FlashImage> flash = FlashImage::open(m_path.string(), m_error);
    ASSERT_TRUE(flash) << m_error;
    EXPECT_EQ(readFile(m_path), Bytes(Protocol::kMemorySize, 0xFF));

    EXPECT_TRUE(flash->fill(0x20000, 0x100, 0xF0));
    EXPECT_TRUE(flash->program(0x20010, Bytes(4, 0x3C)));
    EXPECT_TRUE(flash->erase(0x20080, 0x10));
    EXPECT_TRUE(flash->store(0x20090, Bytes(2, 0x07)));
    // Changes that run past the end are cut there, so the image keeps its size.
    EXPECT_TRUE(flash->store(0xFFFFE, Bytes(4, 0x00)));
    EXPECT_TRUE(flash->program(0x100000, Bytes(4, 0x00)));
    EXPECT_FALSE(flash->imageWriteFailed());

    const Bytes file = readFile(m_path);
    ASSERT_EQ(file.size(), Protocol::kMemorySize);
    EXPECT_EQ(file[0x20000], 0xF0);
    EXPECT_EQ(file[0x20010], 0x30);
    EXPECT_EQ(file[0x20080], 0xFF);
    EXPECT_EQ(file[0x20090], 0x07);
    EXPECT_EQ(file[0xFFFFF], 0x00);
    EXPECT_TRUE(std::equal(file.begin(), file.end(), flash->bytes().begin(), flash->bytes().end()));

    // Let go and opened again, the image is the flash it was.
    flash->detach();
    const std::optional<FlashImage> again = FlashImage::open(m_path.string(), m_error);
    ASSERT_TRUE(again) << m_error;
    EXPECT_TRUE(std::equal(file.begin(), file.end(), again->bytes().begin(), again->bytes().end()));
}

TEST_F(FlashImageTest, AWriteTheImageCannotTakeIsReportedAndNoHalfImageIsLeft)
{
    {
        // A new image that cannot be written whole is not left behind half written.
        FileSizeLimit limit(0x10000);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(FlashImage::open(m_path.string(), m_error));
        EXPECT_FALSE(m_error.empty());
        EXPECT_FALSE(std::filesystem::exists(m_path));
    }

    std::optional<FlashImage> flash = FlashImage::open(m_path.string(), m_error);
    ASSERT_TRUE(flash) << m_error;
    {
        FileSizeLimit limit(0x10000);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(flash->program(0x30000, Bytes(4, 0x12)));
        EXPECT_TRUE(flash->imageWriteFailed());
        // The flash itself took the change; only the image lags behind.
        EXPECT_EQ(flash->at(0x30000), 0x12);
        // A failure does not stop the changes after it from being written.
        EXPECT_TRUE(flash->store(0x100, Bytes(4, 0x34)));
    }
    EXPECT_TRUE(flash->imageWriteFailed());
    const Bytes file = readFile(m_path);
    EXPECT_EQ(file[0x30000], 0xFF);
    EXPECT_EQ(file[0x100], 0x34);
    flash->detach();

    // Opened again where nothing can be written, the image is refused at once rather than failing later.
    FileSizeLimit nothing(0);
    ASSERT_TRUE(nothing.active());
    EXPECT_FALSE(FlashImage::open(m_path.string(), m_error));
    // The message names the file and what to look at.
    EXPECT_NE(m_error.find("Impossibile scrivere l'immagine \"" + m_path.string() + "\""), std::string::npos)
        << m_error;
    EXPECT_NE(m_error.find("disco non sia pieno"), std::string::npos) << m_error;
}

TEST_F(FlashImageTest, AnImageServesOnePlayerAtATime)
{
    std::optional<FlashImage> first = FlashImage::open(m_path.string(), m_error);
    ASSERT_TRUE(first) << m_error;
    // A second program on the same image would interleave its blocks with the first one's.
    EXPECT_FALSE(FlashImage::open(m_path.string(), m_error));
    EXPECT_NE(m_error.find("L'immagine \"" + m_path.string() + "\" è usata da un altro programma"),
              std::string::npos)
        << m_error;
    first->detach();
    EXPECT_TRUE(FlashImage::open(m_path.string(), m_error)) << m_error;
}

} // namespace
