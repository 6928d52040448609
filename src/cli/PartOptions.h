#pragma once

#include "download/TrackPart.h"

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QList>
#include <QStringList>

#include <optional>

class QCommandLineParser;

// The options that choose the part of a file that goes into a slot, for load, convert and preview:
// --start M:SS.D or --loudest, --fade-in S, --fade-out S, --no-normalize.
class PartOptions
{
    Q_DECLARE_TR_FUNCTIONS(PartOptions)

public:
    static QList<QCommandLineOption> options();
    static QStringList names();
    // What the options ask for; nullopt with error set (for the usage line) when one is malformed.
    static std::optional<PartRequest> read(const QCommandLineParser& parser, QString& error);
};
