#include "sim/FlashImage.h"

#include "device/Protocol.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
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

// While it lives, this process cannot write at or beyond limit in any file: the kernel fails such a write
// with EFBIG, which stands in for a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = limit;
        m_active = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
    bool m_active = false;
};

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
}

} // namespace
