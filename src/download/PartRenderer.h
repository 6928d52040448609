#pragma once

#include "download/TrackPart.h"
#include "download/TrackSource.h"

#include <QCoreApplication>
#include <QString>

#include <functional>

// Makes the player's bytes of a part from the samples a TrackSource keeps in its temporary file: the DC
// offset removed and the peak brought to -1 dBFS when normalising, the fades, then 8 bits with dither. A
// block at a time, so a part of any length takes little memory.
class PartRenderer
{
    Q_DECLARE_TR_FUNCTIONS(PartRenderer)

public:
    // The temporary file holds int16 samples at this many to full scale: twice full scale fits, so what
    // a resampler overshoots is kept, and an 8-bit sample (x - 128) / 128 is the whole number (x - 128) *
    // 128.
    static constexpr double kPcmScale = 16384;

    // mean: the part's average sample (full scale ±1), from which the DC filter starts so it does not ring.
    // playerSamples: every sample is one of the player's 256 values, so with no gain and no fade they go
    // through as they are, rounded without dither.
    PartRenderer(const QString& pcmPath, const TrackPart& part, double mean, bool playerSamples);

    TrackSource::State run(const TrackSource::SampleSink& sink, const std::function<bool()>& stopRequested,
                           QString& error) const;

private:
    QString m_pcmPath;
    TrackPart m_part;
    double m_mean;
    bool m_playerSamples;
};
