// Feeds arbitrary bytes, as a file, through AudioConverter::probe and AudioConverter::convert. Besides the
// sanitizers (on our code; FFmpeg itself is not instrumented), it checks what the converter promises: a
// result that is either a WAV file of the player's format holding what it reports, or a failure with its
// message and no file left behind.
#include "FuzzChecks.h"

#include "download/AudioConverter.h"
#include "download/WavReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

constexpr std::uint64_t kMaxSamples = 4096;

std::unique_ptr<QTemporaryDir> folder;

using FuzzChecks::check;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qInstallMessageHandler(FuzzChecks::quietMessages);
    // In memory where the system has it: every input is written as a file.
    const QString shm = QStringLiteral("/dev/shm");
    folder = std::make_unique<QTemporaryDir>(QDir(shm).exists()
                                                 ? shm + QStringLiteral("/audio-fuzz-XXXXXX")
                                                 : QDir::tempPath() + QStringLiteral("/audio-fuzz-XXXXXX"));
    check(folder->isValid());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString input = folder->filePath(QStringLiteral("input"));
    const QString target = folder->filePath(QStringLiteral("out.wav"));
    {
        QFile file(input);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        check(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }

    QString error;
    const std::optional<AudioInfo> info = AudioConverter::probe(input, error);
    check(info.has_value() != !error.isEmpty());
    if (info) {
        check(info->channels >= 0 && info->sampleRate >= 0 && info->seconds >= 0);
        info->description();
    }

    // Both ways through, the single pass and the normalising two, taken by turns.
    AudioConverter::Options options;
    options.normalise = size % 2 == 0;
    options.maxSamples = kMaxSamples;
    double last = 0;
    std::uint64_t written = 1;
    const AudioConverter::Result result = AudioConverter::convert(
        input, target, options, {},
        [&](double fraction) {
            check(fraction >= last && fraction <= 1);
            last = fraction;
        },
        error, &written);

    QFile out(target);
    if (result == AudioConverter::Result::Done) {
        check(error.isEmpty() && written <= kMaxSamples);
        check(out.open(QIODevice::ReadOnly));
        const WavHeader header = ReadWavHeader(&out, {});
        const qint64 declared = header.dataSize;
        check(IsDeviceFormat(header) && out.pos() == 44 && declared == qint64(written));
        check(out.size() == 44 + declared + (declared & 1));
        out.close();
        check(out.remove());
    } else {
        check(result == AudioConverter::Result::Failed);
        check(!error.isEmpty() && written == 0 && !out.exists());
    }
    // Nothing else left beside the input: no temporary file of either pass.
    check(QDir(folder->path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size() == 1);
    return 0;
}
