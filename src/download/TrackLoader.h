#pragma once

#include "device/DeviceConfig.h"
#include "download/LoadResult.h"
#include "download/TrackPart.h"
#include "download/TrackSlot.h"

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class DownloadUi;
class TrackDownload;
class TrackSource;

// What the Load command does once a file and a slot are chosen. The file is looked at first: what cannot be
// loaded (not a sound file, unreadable) is said at once, before any question. A WAV file in the player's own
// format that fits the slot goes to the download as it is. Any other file is read into the player's format,
// and the user chooses the part that goes into the slot: in the track window where the user interface has
// one, otherwise by the questions (convert?, cut?) and the part the request names. Last, right before
// anything is sent, beforeSending asks what would be lost (the tracks a new partition erases). Nothing is
// sent before every question has been answered.
class TrackLoader
{
    Q_DECLARE_TR_FUNCTIONS(TrackLoader)

public:
    explicit TrackLoader(TrackDownload& download) : m_download(download) {}

    void setUi(DownloadUi* ui) { m_pUi = ui; }
    TrackDownload& download() { return m_download; }

    LoadResult LoadTrack(const QString& path, const QString& title, const TrackSlot& slot,
                         const DeviceConfig& controls, const PartRequest& request = {},
                         const std::function<bool()>& beforeSending = {});

    // The player's bytes of the part request names in the file at path, for a slot of capacity samples:
    // read with a progress window, no question asked. nullopt, with result saying why, when the file cannot
    // be read or the user stopped the reading (told already).
    std::optional<std::vector<std::uint8_t>> RenderPart(const QString& path, std::uint32_t capacity,
                                                        const PartRequest& request, LoadResult& result);
    // Sends samples of the player's format into slot, through a temporary WAV file removed afterwards; path
    // names the file they came from, for the user.
    LoadResult SendSamples(const std::vector<std::uint8_t>& samples, const QString& path,
                           const QString& title, const TrackSlot& slot, const DeviceConfig& controls);
    // Samples as a WAV file of the player's format at target: empty, or what to tell the user.
    static QString WriteWav(const std::vector<std::uint8_t>& samples, const QString& target);

    // The file names the open-file dialog offers as loadable ("*.wav *.mp3 ...").
    static QString filePatterns();

private:
    // The part and its bytes, by the track window or the questions; nullopt with result set otherwise.
    std::optional<std::vector<std::uint8_t>> prepare(const QString& path, TrackSource& source,
                                                     const TrackSlot& slot, const PartRequest& request,
                                                     bool converted, LoadResult& result);
    std::optional<std::vector<std::uint8_t>> askAndRender(const QString& path, TrackSource& source,
                                                          const TrackSlot& slot, const PartRequest& request,
                                                          bool converted, LoadResult& result);
    std::optional<std::vector<std::uint8_t>> readAndRender(TrackSource& source, std::uint32_t capacity,
                                                           const PartRequest& request, LoadResult& result);
    // Asks before a track of this many seconds is cut to the slot's capacity; true to go on.
    bool acceptLength(const QString& path, double seconds, const TrackSlot& slot);
    void tell(const QString& text);

    TrackDownload& m_download;
    DownloadUi* m_pUi = nullptr;
};
