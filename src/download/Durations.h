#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// How the program writes a length of time, everywhere it shows one.
namespace Durations {

// m:ss, as a player's display shows a track's length, also past the hour. The caller rounds as its
// figure calls for: a capacity down, a file's length to the nearest second, a time left up.
QString clock(qint64 wholeSeconds);
// Seconds with one decimal, as the window writes a slot's length ("11,9").
QString tenths(double seconds);
// m:ss,d: a moment in a file to the tenth of a second, rounded down ("1:23,4").
QString clockTenths(double seconds);
// What a user writes for a moment: "m:ss,d", "m:ss.d", "m:ss", or seconds alone ("83,4"); nullopt for
// anything else (negative, seconds past 59 after minutes, letters).
std::optional<double> parseClock(const QString& text);

} // namespace Durations
