#include "cli/PartOptions.h"

#include "download/Durations.h"

#include <QCommandLineParser>

namespace {

const QString kStart = QStringLiteral("start");
const QString kLoudest = QStringLiteral("loudest");
const QString kFadeIn = QStringLiteral("fade-in");
const QString kFadeOut = QStringLiteral("fade-out");
const QString kNoNormalize = QStringLiteral("no-normalize");

// Seconds from 0 to the longest fade, with a comma or a point.
std::optional<double> fadeSeconds(QString text)
{
    bool ok = false;
    const double seconds = text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !(seconds >= 0 && seconds <= TrackPart::kMaxFade)) {
        return std::nullopt;
    }
    return seconds;
}

} // namespace

QList<QCommandLineOption> PartOptions::options()
{
    return {
        {kStart, tr("Dove comincia la parte del file che va nel brano (predefinito 0:00)."),
         QStringLiteral("M:SS.D")},
        {kLoudest, tr("La parte del file che suona più forte, lunga quanto il brano.")},
        {kFadeIn, tr("Dissolvenza iniziale in secondi, da 0 a 2."), QStringLiteral("S")},
        {kFadeOut, tr("Dissolvenza finale in secondi, da 0 a 2."), QStringLiteral("S")},
        {kNoNormalize, tr("Lascia il volume com'è, senza portarlo al massimo.")},
    };
}

QStringList PartOptions::names()
{
    return {kStart, kLoudest, kFadeIn, kFadeOut, kNoNormalize};
}

std::optional<PartRequest> PartOptions::read(const QCommandLineParser& parser, QString& error)
{
    PartRequest request;
    if (parser.isSet(kStart) && parser.isSet(kLoudest)) {
        error = tr("--start e --loudest non vanno insieme: scegliere uno dei due.");
        return std::nullopt;
    }
    if (parser.isSet(kStart)) {
        request.startSeconds = Durations::parseClock(parser.value(kStart));
        if (!request.startSeconds) {
            error = tr("--start vuole un momento del file come 1:23.4 (minuti, secondi, decimi).");
            return std::nullopt;
        }
    }
    request.loudest = parser.isSet(kLoudest);
    for (const auto& [name, fade] :
         {std::pair{kFadeIn, &request.fadeIn}, std::pair{kFadeOut, &request.fadeOut}}) {
        if (parser.isSet(name)) {
            *fade = fadeSeconds(parser.value(name));
            if (!*fade) {
                error = tr("--%1 vuole i secondi della dissolvenza, da 0 a 2.").arg(name);
                return std::nullopt;
            }
        }
    }
    if (parser.isSet(kNoNormalize)) {
        request.normalise = false;
    }
    return request;
}
