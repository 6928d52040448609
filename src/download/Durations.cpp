#include "download/Durations.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cmath>

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

QString clockTenths(double seconds)
{
    const auto tenthsOf = static_cast<qint64>(std::floor(std::max(seconds, 0.0) * 10 + 1e-6));
    return clock(tenthsOf / 10) + QCoreApplication::translate("Durations", ",", "decimal separator") +
           QString::number(tenthsOf % 10);
}

std::optional<double> parseClock(const QString& text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(?:(\d{1,4}):(?=\d\d))?(\d+)(?:[.,](\d+))?\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const bool withMinutes = match.capturedLength(1) > 0;
    const double seconds = match.captured(2).toDouble();
    if (withMinutes && (match.capturedLength(2) != 2 || seconds >= 60)) {
        return std::nullopt;
    }
    const QString fraction = match.captured(3);
    const double part = fraction.isEmpty() ? 0.0 : (QStringLiteral("0.") + fraction).toDouble();
    return (withMinutes ? match.captured(1).toDouble() * 60 : 0.0) + seconds + part;
}

} // namespace Durations
