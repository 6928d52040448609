#include "download/TrackSource.h"

#include "download/PartRenderer.h"
#include "download/TrackSlot.h"
#include "download/TrackSourceReader.h"

#include <algorithm>
#include <cmath>

// The parts of a source that has been read: where they lie, and their bytes.

std::optional<std::vector<std::uint8_t>> TrackSource::render(const TrackPart& part, QString& error) const
{
    std::vector<std::uint8_t> bytes;
    if (part.length <= progress().samples) {
        bytes.reserve(static_cast<std::size_t>(part.length));
    }
    const auto sink = [&](const std::uint8_t* samples, std::size_t count) {
        bytes.insert(bytes.end(), samples, samples + count);
        return QString();
    };
    if (renderInto(part, sink, {}, error) != State::Done) {
        return std::nullopt;
    }
    return bytes;
}

TrackSource::State TrackSource::renderInto(const TrackPart& part, const SampleSink& sink,
                                           const std::function<bool()>& stopRequested, QString& error) const
{
    const Reader& r = *m_reader;
    double mean = 0;
    {
        const std::scoped_lock lock(r.mutex);
        if (part.length > r.samples || part.start > r.samples - part.length) {
            error = tr("La parte da %1 a %2 va oltre i %3 campioni letti finora dal file \"%4\".")
                        .arg(part.start)
                        .arg(part.start + part.length)
                        .arg(r.samples)
                        .arg(r.name);
            return State::Failed;
        }
        if (part.length == 0) {
            return State::Done;
        }
        // The DC filter's starting point: the columns the part touches are near enough.
        double sum = 0;
        std::uint64_t count = 0;
        for (std::uint64_t c = part.start / kColumnSamples;
             c * kColumnSamples < part.end() && c < r.columns.size(); ++c) {
            sum += r.columns[c].sum;
            count += std::min<std::uint64_t>(kColumnSamples, r.samples - c * kColumnSamples);
        }
        mean = count > 0 ? sum / static_cast<double>(count) : 0.0;
    }
    return PartRenderer(r.pcmPath, part, mean, r.playerSamples).run(sink, stopRequested, error);
}

TrackPart TrackSource::partAt(std::uint64_t start, std::uint64_t capacity, bool normalise) const
{
    const Reader& r = *m_reader;
    const std::scoped_lock lock(r.mutex);
    const std::uint64_t samples = r.samples;
    start = std::min(start, samples >= capacity ? samples - capacity : samples);
    TrackPart part;
    part.start = start;
    part.length = std::min(capacity, samples - start);
    part.normalise = normalise;
    part.fadeIn = start == 0 ? 0 : TrackPart::kCutFade;
    const bool atFileEnd = r.state == State::Done && r.wholeFile && part.end() == samples;
    part.fadeOut = atFileEnd ? 0 : TrackPart::kCutFade;
    return part;
}

std::uint64_t TrackSource::loudestStart(std::uint64_t length) const
{
    const Reader& r = *m_reader;
    const std::scoped_lock lock(r.mutex);
    const std::vector<Column>& columns = r.columns;
    if (length >= r.samples || columns.empty()) {
        return 0;
    }
    // A window of whole columns slides over the envelope; it starts no later than where the part still fits.
    const std::size_t width =
        std::clamp<std::size_t>(static_cast<std::size_t>(length / kColumnSamples), 1, columns.size());
    const std::size_t last =
        std::min(static_cast<std::size_t>((r.samples - length) / kColumnSamples), columns.size() - width);
    double energy = 0;
    for (std::size_t c = 0; c < width; ++c) {
        energy += columns[c].energy;
    }
    double best = energy;
    std::size_t bestStart = 0;
    for (std::size_t c = 1; c <= last; ++c) {
        energy += static_cast<double>(columns[c + width - 1].energy) - columns[c - 1].energy;
        if (energy > best) {
            best = energy;
            bestStart = c;
        }
    }
    return static_cast<std::uint64_t>(bestStart) * kColumnSamples;
}

TrackPart TrackSource::resolve(const PartRequest& request, std::uint64_t capacity) const
{
    std::uint64_t start = 0;
    if (request.loudest) {
        start = loudestStart(capacity);
    } else if (request.startSeconds && *request.startSeconds > 0) {
        // Beyond any file: partAt brings it back to the last part that fits.
        const double seconds = std::min(*request.startSeconds, 1e12);
        start = static_cast<std::uint64_t>(std::llround(seconds * TrackSlot::kSampleRate));
    }
    TrackPart part = partAt(start, capacity, request.normalise.value_or(!playerSamples()));
    const auto fade = [](double seconds) {
        return seconds > 0 ? std::min(seconds, TrackPart::kMaxFade) : 0.0;
    };
    if (request.fadeIn) {
        part.fadeIn = fade(*request.fadeIn);
    }
    if (request.fadeOut) {
        part.fadeOut = fade(*request.fadeOut);
    }
    return part;
}
