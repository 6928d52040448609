#pragma once

#include "device/DeviceConfig.h"
#include "download/LoadResult.h"
#include "download/TrackSlot.h"

#include <QCoreApplication>
#include <QString>

class DownloadUi;
class TrackDownload;

// What the Load command does once a file and a slot are chosen. A WAV file in the player's own format goes
// to the download as it is. Any other file FFmpeg can read is converted to that format first, after the
// user agreed, on a worker thread with a progress window that can be cancelled. Either way a track longer
// than the slot is cut only after the user agreed to that too. Nothing is sent before every question has
// been answered.
class TrackLoader
{
    Q_DECLARE_TR_FUNCTIONS(TrackLoader)

public:
    explicit TrackLoader(TrackDownload& download) : m_download(download) {}

    void setUi(DownloadUi* ui) { m_pUi = ui; }

    LoadResult LoadTrack(const QString& path, const QString& title, const TrackSlot& slot,
                         const DeviceConfig& controls);

    // The file names the open-file dialog offers as loadable ("*.wav *.mp3 ...").
    static QString filePatterns();

private:
    LoadResult loadConverted(const QString& path, const QString& title, const TrackSlot& slot,
                             const DeviceConfig& controls);
    // Asks before a track of this many samples is cut to the slot's capacity; true to go on.
    bool acceptLength(const QString& path, double seconds, const TrackSlot& slot);
    void tell(const QString& text);

    TrackDownload& m_download;
    DownloadUi* m_pUi = nullptr;
};
