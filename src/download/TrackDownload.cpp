#include "download/TrackDownload.h"

#include "download/DownloadUi.h"
#include "download/Durations.h"
#include "download/SourceFile.h"
#include "download/TrackSlot.h"
#include "download/WavReader.h"

#include <QFileInfo>

#include <algorithm>
#include <array>

namespace {

constexpr std::uint32_t kMaxLimit = 0xFFFFF;
constexpr std::size_t kTitleOffset = 3;
constexpr std::size_t kTitleLength = 30;
// How often the user-interface events are handled during a download: often enough to keep the windows
// painted and responsive, seldom enough to cost nothing next to the block writes.
constexpr std::chrono::milliseconds kEventPumpInterval{10};

std::uint32_t roundUpToSector(std::uint32_t value)
{
    return (value + (Protocol::kSectorSize - 1)) & ~(Protocol::kSectorSize - 1);
}

// The track header: all zero but for the title's first 30 characters at offset 3.
std::array<std::uint8_t, TrackSlot::kHeaderSize> trackHeader(const QString& title)
{
    std::array<std::uint8_t, TrackSlot::kHeaderSize> header{};
    const QByteArray text = title.left(kTitleLength).toLatin1();
    std::copy_n(text.begin(), std::min<qsizetype>(text.size(), kTitleLength), header.begin() + kTitleOffset);
    return header;
}

} // namespace

TrackDownload::TrackDownload(ReportProtocol& protocol, DeviceConfig& config)
    : m_protocol(protocol), m_Config(config)
{}

void TrackDownload::tell(const QString& text)
{
    if (m_pUi) {
        m_pUi->messageBox(text, MessageIcon::Error);
    }
}

void TrackDownload::pumpBetweenBlocks()
{
    // What the reader posted is handed out at once, so the queue stays short however long the download.
    m_protocol.link().messages().dispatchPending();
    const auto now = std::chrono::steady_clock::now();
    if (m_pUi && now - m_lastEventPump >= kEventPumpInterval) {
        m_lastEventPump = now;
        m_pUi->processEvents();
    }
}

LoadResult TrackDownload::DownloadTrack(const QString& path, const QString& title, std::uint32_t start,
                                        std::uint32_t length, const DeviceConfig& controls)
{
    if (m_bRunning) {
        return LoadResult::Busy;
    }
    m_bRunning = true;
    m_samplesSent = 0;
    struct Reset
    {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_bRunning};

    SourceFile source(path);
    if (const QString refused = source.open(); !refused.isEmpty()) {
        tell(refused);
        return LoadResult::FileFailed;
    }
    QFile& file = source.file();
    const WavHeader header = ReadWavHeader(&file, QString());
    if (file.error() != QFileDevice::NoError) {
        tell(source.readFailure());
        return LoadResult::FileFailed;
    }
    // A file without sample data is as unsuitable as one in another format.
    if (!IsDeviceFormat(header)) {
        tell(tr("Errore: formato file inadatto!"));
        return LoadResult::Refused;
    }
    // Only the "data" chunk's samples are sent, and of a chunk that claims more than the file holds, what
    // the file holds.
    const qint64 available = std::min(header.dataSize, std::max<qint64>(file.size() - file.pos(), 0));
    // Less than one block would leave a track with a title and no sound.
    if (available < static_cast<qint64>(Protocol::kBlockSize)) {
        tell(tr("Il file \"%1\" non contiene suoni: ha meno dei %2 campioni che il lettore "
                "scrive alla volta.")
                 .arg(QFileInfo(path).fileName())
                 .arg(Protocol::kBlockSize));
        return LoadResult::Refused;
    }
    return sendSamples(source, title, start, length, available, controls);
}

LoadResult TrackDownload::sendSamples(SourceFile& source, const QString& title, std::uint32_t start,
                                      std::uint32_t length, qint64 available, const DeviceConfig& controls)
{
    constexpr auto kBlock = static_cast<qint64>(Protocol::kBlockSize);
    const std::uint32_t limit = std::min(length, kMaxLimit);
    const qint64 trackBytes = std::min(available / kBlock * kBlock, qint64{TrackSlot::capacityFor(length)});

    std::unique_ptr<ProgressIndicator> progress =
        m_pUi ? m_pUi->createProgress(tr("Download file audio in corso..."), static_cast<int>(limit))
              : nullptr;
    if (progress) {
        const TrackSlot slot{start, length};
        progress->SetDetail(
            tr("\"%1\" nel brano %2 di %3").arg(title).arg(slot.index() + 1).arg(slot.count()));
    }
    // A stop asked for before the first block sends nothing.
    if (progress && progress->stopRequested()) {
        return LoadResult::Cancelled;
    }
    // The player keeps the configuration it is sent; the program holds what it sent.
    m_Config.Config1 = controls.Config1;
    m_Config.Config2 = controls.Config2;
    m_protocol.SetConfig(m_Config);

    std::uint32_t off = TrackSlot::kHeaderSize;
    std::uint32_t addr = start + TrackSlot::kHeaderSize;
    const auto deviceFailed = [&](std::uint32_t failedAddress) {
        progress.reset();
        const qint64 sent = std::min<qint64>(off - TrackSlot::kHeaderSize, trackBytes);
        tell(tr("Download del brano non riuscito: il lettore non ha risposto (blocco all'indirizzo "
                "0x%1).\nSono arrivati al lettore %2 byte del brano su %3.")
                 .arg(QString::number(failedAddress, 16).toUpper().rightJustified(5, QLatin1Char('0')))
                 .arg(sent)
                 .arg(trackBytes));
        return LoadResult::DeviceFailed;
    };
    const auto written = [this](std::uint32_t address,
                                std::span<const std::uint8_t, Protocol::kBlockSize> b) {
        return m_protocol.WriteMemoryBlock(address, b);
    };

    const std::array<std::uint8_t, TrackSlot::kHeaderSize> header = trackHeader(title);
    if (!written(start, std::span(header).first<Protocol::kBlockSize>())) {
        return deviceFailed(start);
    }
    if (!written(start + Protocol::kBlockSize, std::span(header).last<Protocol::kBlockSize>())) {
        return deviceFailed(start + Protocol::kBlockSize);
    }

    std::array<std::uint8_t, Protocol::kBlockSize> block;
    qint64 remaining = available;
    bool stopped = false;
    m_lastEventPump = std::chrono::steady_clock::now();
    do {
        if (remaining < static_cast<qint64>(block.size())) {
            break;
        }
        const qint64 read =
            source.file().read(reinterpret_cast<char*>(block.data()), static_cast<qint64>(block.size()));
        if (read != static_cast<qint64>(block.size())) {
            progress.reset();
            tell(source.readFailure());
            return LoadResult::FileFailed;
        }
        remaining -= read;
        if (!written(addr, block)) {
            return deviceFailed(addr);
        }
        off += Protocol::kBlockSize;
        addr += Protocol::kBlockSize;
        if (progress) {
            progress->SetPos(static_cast<int>(off));
            stopped = progress->stopRequested();
        }
        pumpBetweenBlocks();
    } while (off < limit && !stopped);

    // Every later sector of the slot starts with an end mark.
    const std::uint32_t f = roundUpToSector(off);
    if (f < length) {
        const std::uint32_t n = (length - f + (Protocol::kSectorSize - 1)) >> 16;
        std::uint32_t g = roundUpToSector(addr);
        block.fill(0xFF);
        for (std::uint32_t i = 0; i < n; ++i, g += Protocol::kSectorSize) {
            if (!written(g, block)) {
                return deviceFailed(g);
            }
        }
    }
    const std::uint32_t sent = off - TrackSlot::kHeaderSize;
    if (stopped) {
        m_samplesSent = sent;
        progress.reset();
        const double seconds = static_cast<double>(sent) / TrackSlot::kSampleRate;
        tell(tr("Download interrotto: il brano sul lettore contiene solo i primi %1 s del file.")
                 .arg(Durations::tenths(seconds)));
        return LoadResult::Stopped;
    }
    // The slot is consistent, but what it holds may be a mix of the file's old and new contents.
    if (source.changedSinceOpened()) {
        progress.reset();
        tell(source.changedMessage());
        return LoadResult::FileFailed;
    }
    m_samplesSent = sent;
    return LoadResult::Done;
}
