#include "download/TrackSource.h"

#include "download/AudioDecoder.h"
#include "download/DecodeLoop.h"
#include "download/MonoResampler.h"
#include "download/PartRenderer.h"
#include "download/TrackSlot.h"
#include "download/TrackSourceReader.h"

#include <QDir>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Samples written to the temporary file at a time, a whole number of columns: render() can take what is
// there as soon as the window shows it.
constexpr std::size_t kChunkSamples = std::size_t{64} * TrackSource::kColumnSamples;
constexpr double kReservedSeconds = 4 * 3600;

// Without a branch, so that the compiler can convert several samples at once.
std::int16_t toPcm(float value)
{
    const float scaled = value * static_cast<float>(PartRenderer::kPcmScale);
    // NaN, which a floating-point file may hold, becomes silence.
    const float known = scaled == scaled ? scaled : 0.0f;
    const float clipped = std::min(std::max(known, -32768.0f), 32767.0f);
    // Rounded half away from zero, inline: std::lrint would be a call for every sample.
    return static_cast<std::int16_t>(clipped + std::copysign(0.5f, clipped));
}

// In whole numbers, exact and quick: a column's sums fit in 64 bits whatever its samples.
TrackSource::Column columnOf(const std::int16_t* samples, std::size_t count)
{
    int low = samples[0];
    int high = samples[0];
    std::int64_t sum = 0;
    std::int64_t energy = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int sample = samples[i];
        low = std::min(low, sample);
        high = std::max(high, sample);
        sum += sample;
        energy += std::int64_t{sample} * sample;
    }
    constexpr double kScale = PartRenderer::kPcmScale;
    return {static_cast<float>(low / kScale), static_cast<float>(high / kScale),
            static_cast<float>(static_cast<double>(sum) / kScale),
            static_cast<float>(static_cast<double>(energy) / (kScale * kScale))};
}

} // namespace

TrackSource::TrackSource(const QString& path) : m_reader(std::make_unique<Reader>(path)) {}

TrackSource::~TrackSource() = default;

QString TrackSource::open()
{
    Reader& r = *m_reader;
    if (r.opened || !r.openError.isEmpty()) {
        return r.openError;
    }
    r.openError = r.decoder.open(r.stop.get_token());
    if (r.openError.isEmpty()) {
        r.info = r.decoder.info();
        r.playerSamples = r.decoder.playerFormat();
        if (r.pcm.open()) {
            r.pcmPath = r.pcm.fileName();
            r.opened = true;
        } else {
            r.openError =
                tr("Impossibile creare un file temporaneo in \"%1\" (%2): controllare lo spazio libero e i "
                   "permessi della cartella.")
                    .arg(QDir::toNativeSeparators(QDir::tempPath()), r.pcm.errorString());
        }
    }
    return r.openError;
}

const AudioInfo& TrackSource::info() const
{
    return m_reader->info;
}

QString TrackSource::shownName() const
{
    return m_reader->name;
}

bool TrackSource::playerSamples() const
{
    return m_reader->playerSamples;
}

bool TrackSource::Reader::begin(TrackSource& source)
{
    const QString failure = source.open();
    const std::scoped_lock lock(mutex);
    if (state != State::Idle) {
        return false;
    }
    if (!failure.isEmpty()) {
        state = State::Failed;
        error = failure;
        return false;
    }
    state = State::Reading;
    // Room for the columns of the length the file declares, so that they are not briefly held twice while
    // the vector grows; no more than a few hours' worth on the file's word alone.
    const double seconds = std::clamp(info.seconds, 0.0, kReservedSeconds);
    columns.reserve(static_cast<std::size_t>(seconds * TrackSlot::kSampleRate / kColumnSamples) + 1);
    return true;
}

void TrackSource::startReading()
{
    Reader& r = *m_reader;
    if (r.begin(*this)) {
        r.thread = std::jthread([&r](const std::stop_token& token) {
            // The thread's own stop (the source going away) reaches the decoder as a cancel does.
            const std::stop_callback forward(token, [&r] { r.stop.request_stop(); });
            r.run({}, {}, kWholeFile);
        });
    }
}

void TrackSource::cancel()
{
    Reader& r = *m_reader;
    r.stop.request_stop();
    const std::scoped_lock lock(r.mutex);
    if (r.state == State::Idle) {
        r.state = State::Cancelled;
    }
}

TrackSource::Progress TrackSource::progress(std::size_t from, std::vector<Column>* columns) const
{
    const Reader& r = *m_reader;
    const std::scoped_lock lock(r.mutex);
    if (columns && from < r.columns.size()) {
        columns->insert(columns->end(), r.columns.begin() + static_cast<std::ptrdiff_t>(from),
                        r.columns.end());
    }
    return {r.state, r.samples, r.fraction, r.error};
}

TrackSource::Progress TrackSource::read(const std::function<bool()>& stopRequested,
                                        const std::function<void(double)>& onProgress, std::uint64_t limit)
{
    if (m_reader->begin(*this)) {
        m_reader->run(stopRequested, onProgress, limit);
    }
    return progress();
}

void TrackSource::Reader::run(const std::function<bool()>& stopRequested,
                              const std::function<void(double)>& onProgress, std::uint64_t limit)
{
    MonoResampler resampler(MonoResampler::Output::Float, TrackSlot::kSampleRate);
    std::vector<std::int16_t> chunk;
    chunk.reserve(kChunkSamples);
    std::vector<Column> chunkColumns;
    double reached = 0;

    const auto publish = [&]() -> QString {
        const auto bytes = static_cast<qint64>(chunk.size()) * qint64{sizeof(std::int16_t)};
        if (pcm.write(reinterpret_cast<const char*>(chunk.data()), bytes) != bytes || !pcm.flush()) {
            return TrackSource::tr("Impossibile scrivere il file temporaneo \"%1\" (%2): controllare lo "
                                   "spazio libero.")
                .arg(QDir::toNativeSeparators(pcmPath), pcm.errorString());
        }
        chunkColumns.clear();
        for (std::size_t from = 0; from < chunk.size(); from += kColumnSamples) {
            chunkColumns.push_back(
                columnOf(chunk.data() + from, std::min<std::size_t>(kColumnSamples, chunk.size() - from)));
        }
        const std::scoped_lock lock(mutex);
        samples += chunk.size();
        columns.insert(columns.end(), chunkColumns.begin(), chunkColumns.end());
        fraction = reached;
        chunk.clear();
        return {};
    };
    const auto sink = [&](const std::uint8_t* data, std::size_t count) -> QString {
        while (count > 0) {
            const std::size_t take = std::min(count, kChunkSamples - chunk.size());
            const std::size_t at = chunk.size();
            chunk.resize(at + take);
            for (std::size_t i = 0; i < take; ++i) {
                float value = 0;
                std::memcpy(&value, data + i * sizeof(float), sizeof(float));
                chunk[at + i] = toPcm(value);
            }
            data += take * sizeof(float);
            count -= take;
            if (chunk.size() == kChunkSamples) {
                QString failure = publish();
                if (!failure.isEmpty()) {
                    return failure;
                }
            }
        }
        return {};
    };
    const auto progress = [&](double f) {
        reached = f;
        if (onProgress) {
            onProgress(f);
        }
        if (stopRequested && stopRequested()) {
            stop.request_stop();
        }
    };

    QString failure;
    DecodeLoop::Result result = DecodeLoop::run(decoder, resampler, limit, sink, progress, failure);
    if (result == DecodeLoop::Result::Done) {
        reached = 1;
        failure = publish();
        result = failure.isEmpty() ? result : DecodeLoop::Result::Failed;
    }

    const std::scoped_lock lock(mutex);
    if (result == DecodeLoop::Result::Done && samples == 0 && limit > 0) {
        // A handful of decoded samples can still come to none at the player's rate.
        result = DecodeLoop::Result::Failed;
        failure =
            TrackSource::tr("Il file \"%1\" non contiene suoni: la sua traccia audio è vuota.").arg(name);
    }
    switch (result) {
    case DecodeLoop::Result::Done:
        state = State::Done;
        wholeFile = samples < limit;
        break;
    case DecodeLoop::Result::Cancelled:
        state = State::Cancelled;
        break;
    case DecodeLoop::Result::Failed:
        state = State::Failed;
        error = failure;
        break;
    }
}
