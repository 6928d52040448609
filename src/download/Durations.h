#pragma once

#include <QString>
#include <QtGlobal>

// How the program writes a length of time, everywhere it shows one.
namespace Durations {

// m:ss, as a player's display shows a track's length, also past the hour. The caller rounds as its
// figure calls for: a capacity down, a file's length to the nearest second, a time left up.
QString clock(qint64 wholeSeconds);
// Seconds with one decimal, as the window writes a slot's length ("11,9").
QString tenths(double seconds);

} // namespace Durations
