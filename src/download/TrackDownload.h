#pragma once

#include "device/DeviceConfig.h"
#include "device/ReportProtocol.h"
#include "download/LoadResult.h"

#include <QCoreApplication>
#include <QString>

#include <chrono>
#include <cstdint>

class DownloadUi;
class SourceFile;

// Puts the samples of one WAV file into one track slot of the player's memory: the configuration, the
// two track-header blocks, the samples block by block with progress, and an end mark at the start of every
// later sector of the slot.
class TrackDownload
{
    Q_DECLARE_TR_FUNCTIONS(TrackDownload)

public:
    // config is the configuration the program holds; a download updates it with what it sends.
    TrackDownload(ReportProtocol& protocol, DeviceConfig& config);

    void setUi(DownloadUi* ui) { m_pUi = ui; }

    // start is the slot's first address, length its size less 129 bytes; controls is the configuration as
    // the main window's controls give it: its Config1 and Config2 are sent before the blocks. Every
    // failure has been told to the user.
    LoadResult DownloadTrack(const QString& path, const QString& title, std::uint32_t start,
                             std::uint32_t length, const DeviceConfig& controls);

    // Two downloads would interleave their writes into the player's memory: a second one is refused.
    bool running() const { return m_bRunning; }
    // The sample bytes the last download left in its slot when it ended Done or Stopped; 0 after any other
    // outcome, since what a failed download left cannot be told.
    std::uint32_t samplesSent() const { return m_samplesSent; }

private:
    // The traffic of a download whose file has passed: available is the number of sample bytes the file
    // holds from its current position.
    LoadResult sendSamples(SourceFile& source, const QString& title, std::uint32_t start,
                           std::uint32_t length, qint64 available, const DeviceConfig& controls);
    void tell(const QString& text);
    void pumpBetweenBlocks();

    ReportProtocol& m_protocol;
    DeviceConfig& m_Config;
    DownloadUi* m_pUi = nullptr;
    bool m_bRunning = false;
    std::uint32_t m_samplesSent = 0;
    std::chrono::steady_clock::time_point m_lastEventPump;
};
