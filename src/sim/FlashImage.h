#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The player's 1 MiB NOR flash (16 sectors of 64 KiB), optionally backed by an image file so that what
// one run stored is there in the next. Every change goes to the file at once: the program can be killed
// at any moment, and the image must then hold what the player had already taken.
// Not thread-safe: the simulated player's lock guards it.
class FlashImage
{
public:
    static constexpr std::uint8_t kErased = 0xFF;

    // An erased flash with no image behind it.
    FlashImage();

    // The flash made from an image file: an existing file must be exactly 1 MiB and becomes the flash, a
    // missing one is created erased. The image is this process's alone while it is open. An existing file
    // that may only be read is opened read-only (see readOnly). Nothing when the file cannot be used (or
    // written, or is in use), with error telling why.
    static std::optional<FlashImage> open(const std::string& path, std::string& error);

    std::span<const std::uint8_t> bytes() const { return m_bytes; }
    std::uint8_t at(std::uint32_t address) const { return m_bytes.at(address); }

    // The changes. Ranges are cut at the end of the flash. Each returns false when the change could not be
    // written through to the image; the flash holds the change anyway, so a caller that must not claim
    // to have stored something has to look at the result.
    bool store(std::uint32_t address, std::span<const std::uint8_t> bytes);
    bool fill(std::uint32_t address, std::uint32_t length, std::uint8_t value);
    bool erase(std::uint32_t address, std::uint32_t length) { return fill(address, length, kErased); }
    // NOR programming only clears bits: each byte becomes what was there AND what is written.
    bool program(std::uint32_t address, std::span<const std::uint8_t> bytes);

    // Whether some change since the image was attached failed to reach it, so that the file no longer
    // matches the flash.
    bool imageWriteFailed() const { return m_imageWriteFailed; }
    // An image file the user may only read: the flash shows it, and every change fails.
    bool readOnly() const { return m_readOnly; }
    // Lets the image go; later changes stay in memory.
    void detach() { m_image.reset(); }

private:
    struct FileCloser
    {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    using File = std::unique_ptr<std::FILE, FileCloser>;

    // The length of a change that starts at address and runs for length bytes, cut at the end.
    std::size_t clip(std::uint32_t address, std::size_t length) const;
    bool writeThrough(std::uint32_t address, std::size_t length);

    std::vector<std::uint8_t> m_bytes;
    File m_image;
    bool m_imageWriteFailed = false;
    bool m_readOnly = false;
};
