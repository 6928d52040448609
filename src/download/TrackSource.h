#pragma once

#include "download/AudioInfo.h"
#include "download/TrackPart.h"

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

// A sound file made ready for a slot. Read once, on a thread of its own: decoded by FFmpeg to one channel at
// the player's rate into a temporary file (never held whole in memory: a file may last hours) while its
// envelope grows; the part the user chooses is then rendered from that file into the player's bytes, as often
// as the part changes, without decoding again.
class TrackSource
{
    Q_DECLARE_TR_FUNCTIONS(TrackSource)

public:
    // One column of the envelope: the extremes, the sum and the sum of squares of kColumnSamples samples
    // (full scale ±1). The last column may hold fewer.
    struct Column
    {
        float low = 0;
        float high = 0;
        float sum = 0;
        float energy = 0;
    };
    static constexpr int kColumnSamples = 256;

    enum class State
    {
        Idle,
        Reading,
        Done,
        Failed,
        Cancelled
    };
    struct Progress
    {
        State state = State::Idle;
        std::uint64_t samples = 0; // read so far, all of them once Done; render() takes any part within
        double fraction = 0;       // of the file, 0..1
        QString error;             // why it Failed, for the user
    };

    explicit TrackSource(const QString& path);
    ~TrackSource(); // stops the reading and waits for its thread
    TrackSource(const TrackSource&) = delete;
    TrackSource& operator=(const TrackSource&) = delete;

    // Opens the file and looks at its first audio stream, and makes the temporary file. Empty when it can be
    // read; otherwise what to tell the user (not a sound file, unreadable, no audio, no room for the
    // temporary file), naming the file. open(), startReading() and read() belong to one thread.
    QString open();
    const AudioInfo& info() const;
    QString shownName() const;
    // The file's samples are the player's already (8-bit unsigned, 22050 Hz, mono): left as they are, they
    // go onto the player bit for bit.
    bool playerSamples() const;

    // Starts reading on the source's own thread (opening the file first if open() was not called);
    // progress() follows it. A source that cannot be opened goes straight to Failed with open()'s message.
    void startReading();
    // Asks the reading to stop; progress() then ends in Cancelled.
    void cancel();
    // The state of the reading, and the columns from index `from` on appended to columns (when given).
    // Callable from any thread; what it gives out is copied.
    Progress progress(std::size_t from = 0, std::vector<Column>* columns = nullptr) const;
    // Reads on the calling thread until the file ends, or once limit samples are in; the same as
    // startReading() and waiting, with onProgress told the fraction after each frame and stopRequested asked
    // as often. Only from Idle: otherwise it gives progress() as it stands.
    Progress read(const std::function<bool()>& stopRequested = {},
                  const std::function<void(double)>& onProgress = {}, std::uint64_t limit = kWholeFile);
    static constexpr std::uint64_t kWholeFile = std::numeric_limits<std::uint64_t>::max();

    // The part a request comes to once the file is read (loudest needs the whole envelope), for a slot of
    // capacity samples: a start past the end moves back to the last part that fits, fades are kept within
    // 0..kMaxFade.
    TrackPart resolve(const PartRequest& request, std::uint64_t capacity) const;
    // The start of the part of length samples with the highest RMS, by whole columns.
    std::uint64_t loudestStart(std::uint64_t length) const;
    // The defaults for a part that starts at start: its length, and fades only where it cuts into the sound
    // (not at 0, not at the end of a file read whole). A start too late for the slot moves back so that the
    // part fills it, when the file is that long.
    TrackPart partAt(std::uint64_t start, std::uint64_t capacity, bool normalise) const;

    // The player's bytes of part, which must lie within what has been read (progress().samples, also while
    // reading). The same part gives the same bytes every time. nullopt, with error set for the user, when
    // the part goes beyond what was read or the temporary file cannot be read back.
    std::optional<std::vector<std::uint8_t>> render(const TrackPart& part, QString& error) const;
    // The same bytes a block at a time, for a part too long to hold (a whole file being converted): sink
    // takes each block and may refuse it with a message for the user; stopRequested is asked between
    // blocks. Done, Cancelled, or Failed with error set.
    using SampleSink = std::function<QString(const std::uint8_t* samples, std::size_t count)>;
    State renderInto(const TrackPart& part, const SampleSink& sink,
                     const std::function<bool()>& stopRequested, QString& error) const;

private:
    struct Reader;
    std::unique_ptr<Reader> m_reader;
};
