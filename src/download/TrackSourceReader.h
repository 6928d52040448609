#pragma once

#include "download/AudioDecoder.h"
#include "download/TempFiles.h"
#include "download/TrackSource.h"

#include <QTemporaryFile>

#include <mutex>
#include <stop_token>
#include <thread>

// What a TrackSource holds: set up on the thread that opens it, then read on by one thread (its own, or the
// caller of read()) while any thread takes what the reading has published.
struct TrackSource::Reader
{
    explicit Reader(const QString& path)
        : decoder(path), name(decoder.shownName()), pcm(TempFiles::nameTemplate())
    {}

    // Takes the source from Idle to Reading, opening it first if need be; false when it cannot start.
    bool begin(TrackSource& source);
    void run(const std::function<bool()>& stopRequested, const std::function<void(double)>& onProgress,
             std::uint64_t limit);

    // Set up before the reading starts; from then on the decoder and the file are the reading's alone.
    AudioDecoder decoder;
    const QString name;
    std::stop_source stop;
    QTemporaryFile pcm;
    QString pcmPath;
    AudioInfo info;
    bool playerSamples = false;
    bool opened = false;
    QString openError;

    // What the reading publishes.
    mutable std::mutex mutex;
    State state = State::Idle;
    std::uint64_t samples = 0; // in the temporary file, flushed
    double fraction = 0;
    QString error;
    std::vector<Column> columns;
    bool wholeFile = false; // Done at the file's end, not at a limit

    // Last, so that it is stopped and joined before anything it uses goes.
    std::jthread thread;
};
