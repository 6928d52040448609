#include "download/DecodeLoop.h"

#include "download/AudioDecoder.h"
#include "download/MonoResampler.h"

extern "C" {
#include <libavutil/frame.h>
}

#include <algorithm>
#include <vector>

namespace {

// Input samples given to the resampler at a time: what one frame can make stays a few hundred KiB.
constexpr int kSliceSamples = 16384;

} // namespace

DecodeLoop::Result DecodeLoop::run(AudioDecoder& decoder, MonoResampler& resampler, std::uint64_t limit,
                                   const Sink& sink, const std::function<void(double)>& progress,
                                   QString& error)
{
    std::uint64_t produced = 0;
    const auto deliver = [&]() -> bool {
        std::vector<std::uint8_t>& out = resampler.output();
        const auto available = out.size() / static_cast<std::size_t>(resampler.bytesPerSample());
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(available, limit - produced));
        if (count > 0) {
            error = sink(out.data(), count);
        }
        produced += count;
        out.clear();
        return error.isEmpty();
    };
    while (produced < limit) {
        const AudioDecoder::Step step = decoder.next();
        if (step == AudioDecoder::Step::Stopped) {
            return Result::Cancelled;
        }
        if (step == AudioDecoder::Step::Failed) {
            error = decoder.error();
            return Result::Failed;
        }
        const int length = step == AudioDecoder::Step::Frame ? decoder.frame().nb_samples : 0;
        for (int offset = 0; offset < length || step == AudioDecoder::Step::End; offset += kSliceSamples) {
            const int result =
                step == AudioDecoder::Step::Frame
                    ? resampler.convert(decoder.frame(), offset, std::min(kSliceSamples, length - offset))
                    : resampler.drain();
            if (result < 0) {
                error = tr("Il file \"%1\" non si può convertire (%2).")
                            .arg(decoder.shownName(), AudioDecoder::reason(result));
                return Result::Failed;
            }
            if (!deliver()) {
                return Result::Failed;
            }
            if (step == AudioDecoder::Step::End || produced >= limit) {
                break;
            }
        }
        if (step == AudioDecoder::Step::End) {
            break;
        }
        const double bySamples = static_cast<double>(produced) / static_cast<double>(limit);
        progress(std::max(decoder.fraction(), bySamples));
    }
    return Result::Done;
}
