#include "download/Durations.h"

#include <QCoreApplication>

namespace Durations {

QString clock(qint64 wholeSeconds)
{
    const qint64 seconds = std::max<qint64>(wholeSeconds, 0);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString tenths(double seconds)
{
    // The decimal separator belongs to the language of the texts, not to the system's number format.
    const QString separator = QCoreApplication::translate("Durations", ",", "decimal separator");
    return QString::number(seconds, 'f', 1).replace(QLatin1Char('.'), separator);
}

} // namespace Durations
