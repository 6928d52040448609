#include "sim/FlashImage.h"

#include "device/Protocol.h"
#include "sim/ImageFile.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

// The texts are translated here rather than through the class: its header stays free of Qt, whose
// keyword macros (forever, emit) would clash with the simulator's names.
namespace {

// The path is in the file system's encoding, the rest of the message in UTF-8 as std::string carries it.
std::string failure(const QString& text, const std::string& path)
{
    return text.arg(QFile::decodeName(path.c_str())).toStdString();
}

std::string failure(const QString& text, const std::string& path, const std::string& detail)
{
    return text.arg(QFile::decodeName(path.c_str()), QString::fromLocal8Bit(detail.c_str())).toStdString();
}

std::string cannotWrite(const std::string& path)
{
    return failure(QCoreApplication::translate("FlashImage",
                                               "Impossibile scrivere l'immagine \"%1\": controllare che il "
                                               "disco non sia pieno e che il file non sia di sola lettura."),
                   path);
}

} // namespace

FlashImage::FlashImage() : m_bytes(Protocol::kMemorySize, kErased) {}

std::optional<FlashImage> FlashImage::open(const std::string& path, std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    if (ec) {
        error =
            failure(QCoreApplication::translate(
                        "FlashImage",
                        "Impossibile esaminare l'immagine \"%1\" (%2): controllare il percorso e i permessi "
                        "delle cartelle."),
                    path, ec.message());
        return std::nullopt;
    }
    FlashImage flash;
    if (exists) {
        const auto size = fs::is_regular_file(path, ec) ? fs::file_size(path, ec) : 0;
        if (ec || size != Protocol::kMemorySize) {
            error = failure(
                QCoreApplication::translate(
                    "FlashImage",
                    "Il file \"%1\" non è un'immagine della memoria del lettore: deve essere un file "
                    "di esattamente %2 byte. Indicare un'altra immagine, o il nome di un file che non "
                    "esiste per crearne una nuova."),
                path, std::to_string(Protocol::kMemorySize));
            return std::nullopt;
        }
        // An image marked read-only (no write permission for anyone: also for root, who could write it
        // anyway) or on a read-only file system still shows what it holds; it takes no change.
        const fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        const bool markedReadOnly = (fs::status(path, ec).permissions() & writable) == fs::perms::none;
        if (!markedReadOnly) {
            flash.m_image.reset(std::fopen(path.c_str(), "r+b"));
        }
        if (markedReadOnly || (!flash.m_image && errno == EROFS)) {
            flash.m_image.reset(std::fopen(path.c_str(), "rb"));
            flash.m_readOnly = flash.m_image != nullptr;
        }
        if (!flash.m_image) {
            error = failure(QCoreApplication::translate(
                                "FlashImage",
                                "Impossibile aprire l'immagine \"%1\" in lettura e scrittura: controllarne i "
                                "permessi."),
                            path);
            return std::nullopt;
        }
    } else {
        // Exclusive: another program creating the same image at the same moment must not be truncated.
        flash.m_image.reset(std::fopen(path.c_str(), "w+bx"));
        if (!flash.m_image) {
            error = failure(QCoreApplication::translate(
                                "FlashImage",
                                "Impossibile creare l'immagine \"%1\": controllare che la cartella esista e "
                                "sia scrivibile."),
                            path);
            return std::nullopt;
        }
    }
    if (!ImageFile::lockExclusive(flash.m_image.get())) {
        error =
            failure(QCoreApplication::translate(
                        "FlashImage",
                        "L'immagine \"%1\" è usata da un altro programma: due lettori sulla stessa immagine "
                        "mescolerebbero i loro blocchi. Chiudere l'altro programma o indicare un'altra "
                        "immagine."),
                    path);
        return std::nullopt;
    }
    // Unbuffered, so that a write that fails says so at once instead of leaving bytes in a buffer that a
    // later flush would put who knows when.
    std::setvbuf(flash.m_image.get(), nullptr, _IONBF, 0);
    std::FILE* file = flash.m_image.get();
    if (exists) {
        if (std::fread(flash.m_bytes.data(), 1, flash.m_bytes.size(), file) != flash.m_bytes.size()) {
            error = failure(QCoreApplication::translate(
                                "FlashImage",
                                "Impossibile leggere l'immagine \"%1\": controllarne i permessi o indicare "
                                "un'altra immagine."),
                            path);
            return std::nullopt;
        }
        // An image whose changes could not be stored would have the player acknowledge blocks it then
        // loses: it is refused at the start instead, unless it is meant only to be read.
        if (!flash.m_readOnly &&
            (!ImageFile::reserve(file, flash.m_bytes.size()) || !flash.writeThrough(0, 1))) {
            error = cannotWrite(path);
            return std::nullopt;
        }
    } else if (std::fwrite(flash.m_bytes.data(), 1, flash.m_bytes.size(), file) != flash.m_bytes.size() ||
               std::fflush(file) != 0) {
        flash.m_image.reset();
        std::remove(path.c_str());
        error = cannotWrite(path);
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
    if (m_readOnly) {
        m_imageWriteFailed = true;
        return false;
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
