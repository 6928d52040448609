#include "download/TrackLoader.h"

#include "download/DownloadUi.h"
#include "download/Durations.h"
#include "download/PlayerWavWriter.h"
#include "download/SourceFile.h"
#include "download/TempFiles.h"
#include "download/TrackDownload.h"
#include "download/TrackSource.h"
#include "download/WavReader.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <cmath>

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
                                  const DeviceConfig& controls, const PartRequest& request,
                                  const std::function<bool()>& beforeSending)
{
    if (m_download.running()) {
        return LoadResult::Busy;
    }
    const auto mayGoOn = [&beforeSending] {
        return !beforeSending || beforeSending();
    };
    bool converted = true;
    {
        SourceFile file(path);
        if (const QString refused = file.open(); !refused.isEmpty()) {
            tell(refused);
            return LoadResult::FileFailed;
        }
        const WavHeader header = ReadWavHeader(&file.file(), QString());
        if (file.file().error() == QFileDevice::NoError && IsDeviceFormat(header)) {
            converted = false;
            // A data chunk may claim more than the file holds; what is sent is what it holds.
            const qint64 samples =
                std::min(header.dataSize, std::max<qint64>(file.file().size() - file.file().pos(), 0));
            if (samples <= qint64{slot.capacity()} && request == PartRequest{}) {
                if (!mayGoOn()) {
                    return LoadResult::Cancelled;
                }
                return m_download.DownloadTrack(path, title, slot.start, slot.length, controls);
            }
        }
    }

    TrackSource source(path);
    if (const QString refused = source.open(); !refused.isEmpty()) {
        tell(refused);
        return LoadResult::Refused;
    }
    LoadResult result = LoadResult::Cancelled;
    const std::optional<std::vector<std::uint8_t>> samples =
        prepare(path, source, slot, request, converted, result);
    if (!samples) {
        return result;
    }
    if (!mayGoOn()) {
        return LoadResult::Cancelled;
    }
    return SendSamples(*samples, path, title, slot, controls);
}

std::optional<std::vector<std::uint8_t>> TrackLoader::prepare(const QString& path, TrackSource& source,
                                                              const TrackSlot& slot,
                                                              const PartRequest& request, bool converted,
                                                              LoadResult& result)
{
    if (!m_pUi || !m_pUi->hasTrackWindow()) {
        return askAndRender(path, source, slot, request, converted, result);
    }
    source.startReading();
    TrackPart initial;
    initial.length = slot.capacity();
    initial.fadeOut = TrackPart::kCutFade;
    initial.normalise = request.normalise.value_or(!source.playerSamples());
    std::optional<PreparedTrack> prepared = m_pUi->prepareTrack(source, slot, initial);
    if (const TrackSource::Progress read = source.progress(); read.state == TrackSource::State::Failed) {
        tell(read.error);
        result = LoadResult::FileFailed;
        return std::nullopt;
    }
    if (!prepared) {
        result = LoadResult::Cancelled;
        return std::nullopt;
    }
    return std::move(prepared->samples);
}

std::optional<std::vector<std::uint8_t>> TrackLoader::askAndRender(const QString& path, TrackSource& source,
                                                                   const TrackSlot& slot,
                                                                   const PartRequest& request, bool converted,
                                                                   LoadResult& result)
{
    result = LoadResult::Cancelled;
    bool normalise = request.normalise.value_or(!source.playerSamples());
    if (converted) {
        const QString question =
            tr("Il file \"%1\" è in formato %2.\n\nIl lettore suona solo file WAV a 22050 Hz, 8 bit, "
               "mono: convertirlo in questo formato e caricarlo?")
                .arg(shownName(path), source.info().description());
        if (!m_pUi || !m_pUi->ask(question, MessageIcon::Question, tr("Converti e carica"),
                                  tr("Porta il volume al massimo senza distorcere"), &normalise)) {
            return std::nullopt;
        }
    }
    // A part chosen by its start or its loudness is cut knowingly; from 0:00, the cut is asked about.
    const bool partChosen = request.startSeconds || request.loudest;
    if (!partChosen && !acceptLength(path, source.info().seconds, slot)) {
        return std::nullopt;
    }

    PartRequest chosen = request;
    chosen.normalise = normalise;
    return readAndRender(source, slot.capacity(), chosen, result);
}

std::optional<std::vector<std::uint8_t>> TrackLoader::RenderPart(const QString& path, std::uint32_t capacity,
                                                                 const PartRequest& request,
                                                                 LoadResult& result)
{
    TrackSource source(path);
    if (const QString refused = source.open(); !refused.isEmpty()) {
        tell(refused);
        result = LoadResult::Refused;
        return std::nullopt;
    }
    return readAndRender(source, capacity, request, result);
}

std::optional<std::vector<std::uint8_t>> TrackLoader::readAndRender(TrackSource& source,
                                                                    std::uint32_t capacity,
                                                                    const PartRequest& request,
                                                                    LoadResult& result)
{
    result = LoadResult::Cancelled;
    if (m_pUi) {
        source.startReading();
        const bool completed = m_pUi->waitWithProgress(
            tr("Conversione del file audio in corso..."), [&source] { return source.progress().fraction; },
            [&source] { return source.progress().state != TrackSource::State::Reading; });
        if (!completed) {
            source.cancel();
            return std::nullopt;
        }
    } else {
        source.read();
    }
    const TrackSource::Progress read = source.progress();
    if (read.state != TrackSource::State::Done) {
        if (read.state == TrackSource::State::Failed) {
            tell(read.error);
            result = LoadResult::FileFailed;
        }
        return std::nullopt;
    }
    QString error;
    std::optional<std::vector<std::uint8_t>> samples =
        source.render(source.resolve(request, capacity), error);
    if (!samples) {
        tell(error);
        result = LoadResult::FileFailed;
    }
    return samples;
}

QString TrackLoader::WriteWav(const std::vector<std::uint8_t>& samples, const QString& target)
{
    PlayerWavWriter wav(target);
    QString error = wav.open();
    if (error.isEmpty()) {
        error = wav.write(samples.data(), samples.size());
    }
    return error.isEmpty() ? wav.finish() : error;
}

LoadResult TrackLoader::SendSamples(const std::vector<std::uint8_t>& samples, const QString& path,
                                    const QString& title, const TrackSlot& slot, const DeviceConfig& controls)
{
    // Removed with everything in it on every way out; what a killed process leaves, the next start removes.
    QTemporaryDir folder(TempFiles::nameTemplate());
    if (!folder.isValid()) {
        tell(tr("Impossibile convertire \"%1\": non si può creare una cartella temporanea (%2).")
                 .arg(shownName(path), folder.errorString()));
        return LoadResult::FileFailed;
    }
    const QString converted = folder.filePath(QStringLiteral("brano.wav"));
    if (const QString error = WriteWav(samples, converted); !error.isEmpty()) {
        tell(error);
        return LoadResult::FileFailed;
    }
    return m_download.DownloadTrack(converted, title, slot.start, slot.length, controls);
}
