#include "download/TrackLoader.h"

#include "download/AudioConverter.h"
#include "download/DownloadUi.h"
#include "download/Durations.h"
#include "download/SourceFile.h"
#include "download/TrackDownload.h"
#include "download/WavReader.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <atomic>
#include <cmath>
#include <thread>

namespace {

// Down to the second: a capacity is never overstated.
QString minutesAndSeconds(double seconds)
{
    return Durations::clock(static_cast<qint64>(std::floor(std::max(seconds, 0.0))));
}

QString shownName(const QString& path)
{
    return QFileInfo(path).fileName();
}

} // namespace

QString TrackLoader::filePatterns()
{
    return QStringLiteral("*.wav *.mp3 *.flac *.ogg *.oga *.opus *.m4a *.aac *.aif *.aiff *.aifc *.wma *.mka "
                          "*.ac3 *.amr *.caf *.wv *.mp4 *.m4v *.mkv *.webm *.mov *.avi");
}

void TrackLoader::tell(const QString& text)
{
    if (m_pUi) {
        m_pUi->messageBox(text, MessageIcon::Error);
    }
}

bool TrackLoader::acceptLength(const QString& path, double seconds, const TrackSlot& slot)
{
    const double capacity = slot.seconds();
    if (seconds <= capacity) {
        return true;
    }
    const QString text =
        tr("Il brano \"%1\" dura %2, ma lo spazio scelto ne contiene solo %3: il resto verrà "
           "tagliato.\n\nCaricare solo l'inizio del brano?")
            .arg(shownName(path), minutesAndSeconds(seconds), minutesAndSeconds(capacity));
    return m_pUi && m_pUi->ask(text, MessageIcon::Warning, tr("OK"));
}

LoadResult TrackLoader::LoadTrack(const QString& path, const QString& title, const TrackSlot& slot,
                                  const DeviceConfig& controls)
{
    if (m_download.running()) {
        return LoadResult::Busy;
    }
    {
        SourceFile source(path);
        if (const QString refused = source.open(); !refused.isEmpty()) {
            tell(refused);
            return LoadResult::FileFailed;
        }
        const WavHeader header = ReadWavHeader(&source.file(), QString());
        if (source.file().error() != QFileDevice::NoError || !IsDeviceFormat(header)) {
            return loadConverted(path, title, slot, controls);
        }
        // A data chunk may claim more than the file holds; what is sent is what it holds.
        const qint64 samples =
            std::min(header.dataSize, std::max<qint64>(source.file().size() - source.file().pos(), 0));
        if (!acceptLength(path, static_cast<double>(samples) / TrackSlot::kSampleRate, slot)) {
            return LoadResult::Cancelled;
        }
    }
    return m_download.DownloadTrack(path, title, slot.start, slot.length, controls);
}

LoadResult TrackLoader::loadConverted(const QString& path, const QString& title, const TrackSlot& slot,
                                      const DeviceConfig& controls)
{
    QString error;
    const std::optional<AudioInfo> info = AudioConverter::probe(path, error);
    if (!info) {
        tell(error);
        return LoadResult::Refused;
    }
    bool normalise = true;
    const QString question =
        tr("Il file \"%1\" è in formato %2.\n\nIl lettore suona solo file WAV a 22050 Hz, 8 bit, "
           "mono: convertirlo in questo formato e caricarlo?")
            .arg(shownName(path), info->description());
    if (!m_pUi || !m_pUi->ask(question, MessageIcon::Question, tr("Converti e carica"),
                              tr("Porta il volume al massimo senza distorcere"), &normalise)) {
        return LoadResult::Cancelled;
    }
    if (!acceptLength(path, info->seconds, slot)) {
        return LoadResult::Cancelled;
    }

    // Removed with everything in it on every way out.
    QTemporaryDir folder;
    if (!folder.isValid()) {
        tell(tr("Impossibile convertire \"%1\": non si può creare una cartella temporanea (%2).")
                 .arg(shownName(path), folder.errorString()));
        return LoadResult::FileFailed;
    }
    const QString converted = folder.filePath(QStringLiteral("brano.wav"));
    AudioConverter::Options options;
    options.normalise = normalise;
    options.maxSamples = slot.capacity();

    // The worker publishes only these; the user-interface thread reads them while it shows the progress.
    std::atomic<double> fraction{0.0};
    std::atomic<bool> finished{false};
    AudioConverter::Result result = AudioConverter::Result::Failed;
    QString reason;
    std::jthread worker([&](const std::stop_token& stop) {
        result = AudioConverter::convert(
            path, converted, options, stop, [&fraction](double f) { fraction = f; }, reason);
        finished = true;
    });
    const bool completed = m_pUi->waitWithProgress(
        tr("Conversione del file audio in corso..."), [&fraction] { return fraction.load(); },
        [&finished] { return finished.load(); });
    if (!completed) {
        worker.request_stop();
    }
    worker.join();
    if (!completed || result == AudioConverter::Result::Cancelled) {
        return LoadResult::Cancelled;
    }
    if (result == AudioConverter::Result::Failed) {
        tell(reason);
        return LoadResult::FileFailed;
    }
    return m_download.DownloadTrack(converted, title, slot.start, slot.length, controls);
}
