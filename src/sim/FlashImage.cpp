#include "sim/FlashImage.h"

#include "device/Protocol.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/file.h>
#define ZOFFINO_POSIX_FILES 1
#endif

FlashImage::FlashImage() : m_bytes(Protocol::kMemorySize, kErased) {}

std::optional<FlashImage> FlashImage::open(const std::string& path, std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    if (ec) {
        error = "Cannot look at " + path + ": " + ec.message();
        return std::nullopt;
    }
    FlashImage flash;
    if (exists) {
        const auto size = fs::is_regular_file(path, ec) ? fs::file_size(path, ec) : 0;
        if (ec || size != Protocol::kMemorySize) {
            error = path + " is not a flash image: it must be a file of exactly " +
                    std::to_string(Protocol::kMemorySize) + " bytes";
            return std::nullopt;
        }
        flash.m_image.reset(std::fopen(path.c_str(), "r+b"));
        if (!flash.m_image) {
            error = "Cannot open " + path + " for reading and writing";
            return std::nullopt;
        }
    } else {
        // Exclusive: another program creating the same image at the same moment must not be truncated.
        flash.m_image.reset(std::fopen(path.c_str(), "w+bx"));
        if (!flash.m_image) {
            error = "Cannot create " + path;
            return std::nullopt;
        }
    }
    if (!flash.lockImage()) {
        error = path + " is in use by another program: two players on one image would mix their blocks";
        return std::nullopt;
    }
    // Unbuffered, so that a write that fails says so at once instead of leaving bytes in a buffer that a
    // later flush would put who knows when.
    std::setvbuf(flash.m_image.get(), nullptr, _IONBF, 0);
    std::FILE* file = flash.m_image.get();
    if (exists) {
        if (std::fread(flash.m_bytes.data(), 1, flash.m_bytes.size(), file) != flash.m_bytes.size()) {
            error = "Cannot read " + path;
            return std::nullopt;
        }
        // An image whose changes could not be stored would have the player acknowledge blocks it then
        // loses: it is refused at the start instead.
        if (!flash.reserveImage() || !flash.writeThrough(0, 1)) {
            error = "Cannot write " + path + " (is the disk full or the file read-only?)";
            return std::nullopt;
        }
    } else if (std::fwrite(flash.m_bytes.data(), 1, flash.m_bytes.size(), file) != flash.m_bytes.size() ||
               std::fflush(file) != 0) {
        flash.m_image.reset();
        std::remove(path.c_str());
        error = "Cannot write " + path;
        return std::nullopt;
    }
    return flash;
}

std::size_t FlashImage::clip(std::uint32_t address, std::size_t length) const
{
    return address < m_bytes.size() ? std::min(length, m_bytes.size() - address) : 0;
}

bool FlashImage::store(std::uint32_t address, std::span<const std::uint8_t> bytes)
{
    const std::size_t n = clip(address, bytes.size());
    if (n == 0) {
        return true;
    }
    std::copy_n(bytes.begin(), n, m_bytes.begin() + address);
    return writeThrough(address, n);
}

bool FlashImage::fill(std::uint32_t address, std::uint32_t length, std::uint8_t value)
{
    const std::size_t n = clip(address, length);
    if (n == 0) {
        return true;
    }
    std::fill_n(m_bytes.begin() + address, n, value);
    return writeThrough(address, n);
}

bool FlashImage::program(std::uint32_t address, std::span<const std::uint8_t> bytes)
{
    const std::size_t n = clip(address, bytes.size());
    if (n == 0) {
        return true;
    }
    for (std::size_t i = 0; i < n; ++i) {
        m_bytes[address + i] &= bytes[i];
    }
    return writeThrough(address, n);
}

bool FlashImage::writeThrough(std::uint32_t address, std::size_t length)
{
    if (!m_image || length == 0) {
        return true;
    }
    std::FILE* file = m_image.get();
    // A failed write leaves the stream's error flag set; cleared, the next change gets its own chance.
    std::clearerr(file);
    const bool written = std::fseek(file, static_cast<long>(address), SEEK_SET) == 0 &&
                         std::fwrite(m_bytes.data() + address, 1, length, file) == length &&
                         std::fflush(file) == 0;
    if (!written) {
        m_imageWriteFailed = true;
    }
    return written;
}

bool FlashImage::lockImage()
{
#ifdef ZOFFINO_POSIX_FILES
    // Held for as long as the file is open; the system lets it go with the process, however that ends.
    return ::flock(::fileno(m_image.get()), LOCK_EX | LOCK_NB) == 0;
#else
    return true;
#endif
}

bool FlashImage::reserveImage()
{
#if defined(ZOFFINO_POSIX_FILES) && !defined(__APPLE__)
    // A sparse image has no room yet where it holds nothing; a full disk would then fail a later write.
    return ::posix_fallocate(::fileno(m_image.get()), 0, static_cast<off_t>(m_bytes.size())) == 0;
#else
    return true;
#endif
}
