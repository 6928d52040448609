#include "download/AudioInfo.h"

#include "download/Durations.h"

#include <QStringList>

#include <cmath>

QString AudioInfo::description() const
{
    QStringList parts{format};
    if (sampleRate > 0) {
        parts << QStringLiteral("%1 Hz").arg(sampleRate);
    }
    if (channels == 1) {
        parts << tr("mono");
    } else if (channels == 2) {
        parts << tr("stereo");
    } else if (channels > 2) {
        parts << tr("%n canali", "", channels);
    }
    // Rounded to the second: a length is told as m:ss, also past the hour, as players show it.
    if (seconds > 0 && seconds < 1e12) {
        parts << Durations::clock(static_cast<qint64>(std::llround(seconds)));
    }
    return parts.join(QStringLiteral(", "));
}
