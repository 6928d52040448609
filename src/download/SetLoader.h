#pragma once

#include "device/DeviceConfig.h"
#include "download/TrackSet.h"

#include <QCoreApplication>

class DownloadUi;
class TrackLoader;

// Loads a set of files as planned, one after the other, under one progress window. While a file goes out
// block by block, the next one is read and converted on its source's own thread, so that the set costs
// little more than its blocks. The first failure, or the user's stop, ends the set after the block under
// way; the slot under way is closed with its end marks, and the outcome says what each file became.
class SetLoader
{
    Q_DECLARE_TR_FUNCTIONS(SetLoader)

public:
    explicit SetLoader(TrackLoader& loader) : m_loader(loader) {}

    void setUi(DownloadUi* ui) { m_pUi = ui; }

    SetOutcome run(SetPlan& plan, const DeviceConfig& controls);

private:
    class FileUi;
    // The player's bytes of entry: what the track window made, or the part rendered once enough of the file
    // is read. nullopt when the user stopped meanwhile (stopped) or the file failed (error).
    std::optional<std::vector<std::uint8_t>> samplesOf(SetEntry& entry, const SetPlan& plan, FileUi& ui,
                                                       bool& stopped, QString& error);

    TrackLoader& m_loader;
    DownloadUi* m_pUi = nullptr;
};
