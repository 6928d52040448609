#include "cli/CliTool.h"

#include "app/CPlayerApp.h"
#include "cli/CliCommon.h"
#include "cli/TerminalUi.h"
#include "download/Durations.h"
#include "download/TrackSlot.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <cstdio>

// The commands that take sound files: load, convert and preview.

using CliCommon::interrupted;
using CliCommon::partitionOption;
using CliCommon::usage;

int CliTool::load(CPlayerApp& app, const QCommandLineParser& parser, const QStringList& files,
                  const PartRequest& part)
{
    for (const QString& file : files) {
        if (file.contains(QLatin1String("://")) && !QFileInfo::exists(file)) {
            std::fprintf(stderr, "%s\n",
                         qPrintable(tr("\"%1\" non è un file di questo computer: si caricano solo file "
                                       "locali, indicati con il loro percorso.")
                                        .arg(file)));
            return kRefusedFile;
        }
    }
    if (files.size() > 1) {
        return loadSet(app, parser, files, part);
    }
    const QString file = files.value(0);
    const int mode = partitionOption(parser).value_or(app.m_Config.partitionMode());
    bool ok = false;
    const int n = parser.value(QStringLiteral("track")).toInt(&ok);
    if (file.isEmpty() || !ok || n < 1 || n > TrackSlot::countFor(mode)) {
        return usage(tr("load vuole un FILE e --track N, con N da 1 a %1.").arg(TrackSlot::countFor(mode)));
    }
    const DeviceConfig controls = DeviceConfig::fromControls(
        app.m_Config.loop(), mode, app.m_Config.defaultFlag() != 0, app.m_Config.Config3);
    const LoadResult loaded = app.LoadFile(file, n - 1, mode, controls, part);
    if (loaded == LoadResult::Done) {
        // After the last block, so that the last line says how it went.
        std::printf("%s\n", qPrintable(tr("Caricato: \"%1\" nel brano %2 di %3.")
                                           .arg(QFileInfo(file).completeBaseName())
                                           .arg(n)
                                           .arg(TrackSlot::countFor(mode))));
    }
    return loadExit(loaded);
}

int CliTool::loadSet(CPlayerApp& app, const QCommandLineParser& parser, const QStringList& files,
                     const PartRequest& part)
{
    // A partition named is kept (the plan says which files it cannot take); otherwise the player's gives way
    // to the one that takes them all.
    const std::optional<int> named = partitionOption(parser);
    const int mode = named.value_or(app.m_Config.partitionMode());
    const int most = named ? TrackSlot::countFor(*named) : TrackSlot::countFor(3);
    int first = 1;
    if (parser.isSet(QStringLiteral("track"))) {
        bool ok = false;
        first = parser.value(QStringLiteral("track")).toInt(&ok);
        if (!ok || first < 1 || first > most) {
            return usage(tr("--track vuole il primo brano, da 1 a %1.").arg(most));
        }
    }
    const DeviceConfig controls = DeviceConfig::fromControls(
        app.m_Config.loop(), mode, app.m_Config.defaultFlag() != 0, app.m_Config.Config3);
    const SetOutcome outcome = app.LoadFiles(files, first - 1, mode, named.has_value(), controls, part);
    if (outcome.complete()) {
        // After the last block, so that the last lines say how it went.
        std::printf("%s\n", qPrintable(outcome.report()));
        return kDone;
    }
    return loadExit(outcome.ended);
}

int CliTool::convert(const QCommandLineParser& parser, const QString& file, const QString& target,
                     const PartRequest& part)
{
    if (file.isEmpty() || target.isEmpty()) {
        return usage(tr("convert vuole il FILE da leggere e il file WAV da scrivere."));
    }
    // Without a player there is no partition to go by: the longest slot, unless another is named.
    const int mode = partitionOption(parser).value_or(0);
    CPlayerApp app;
    TerminalUi ui(false);
    app.SetUi(&ui);
    const LoadResult converted = app.ConvertFile(file, target, mode, part);
    app.SetUi(nullptr);
    if (converted == LoadResult::Done) {
        std::printf("%s\n", qPrintable(tr("Scritto: %1").arg(target)));
    }
    return loadExit(converted);
}

int CliTool::preview(const QCommandLineParser& parser, const QString& file, const PartRequest& part,
                     const SoundOutputFactory& makeSound)
{
    if (file.isEmpty()) {
        return usage(tr("preview vuole il FILE da ascoltare."));
    }
    const std::unique_ptr<SoundOutput> sound = makeSound ? makeSound() : nullptr;
    const QString silent =
        sound ? sound->unavailable() : tr("Nessuna uscita audio su questo computer: impossibile ascoltare.");
    if (!silent.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(silent));
        return kFailed;
    }
    CPlayerApp app;
    TerminalUi ui(false);
    app.SetUi(&ui);
    LoadResult rendered = LoadResult::Done;
    const std::optional<std::vector<std::uint8_t>> samples =
        app.RenderFile(file, partitionOption(parser).value_or(0), part, rendered);
    app.SetUi(nullptr);
    if (!samples) {
        return loadExit(rendered);
    }
    if (!sound->play(*samples)) {
        std::fprintf(stderr, "%s\n", qPrintable(sound->unavailable()));
        return kFailed;
    }
    const double seconds = static_cast<double>(samples->size()) / TrackSlot::kSampleRate;
    std::printf("%s\n", qPrintable(tr("In ascolto: %1 s, come li suonerà il lettore. Ctrl+C per fermare.")
                                       .arg(Durations::tenths(seconds))));
    std::fflush(stdout);
    // The sound's own length bounds the wait, with room for a server that starts late.
    QElapsedTimer elapsed;
    elapsed.start();
    const auto limitMs = static_cast<qint64>(seconds * 1000) + 5000;
    while (sound->playing() && !interrupted() && elapsed.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    sound->stop();
    return interrupted() ? kInterrupted : kDone;
}

int CliTool::loadExit(LoadResult loaded)
{
    if (interrupted() && loaded != LoadResult::Done) {
        if (loaded != LoadResult::Stopped) {
            std::fprintf(stderr, "%s\n", qPrintable(tr("Interrotto: nulla è stato inviato al lettore.")));
        }
        return kInterrupted;
    }
    switch (loaded) {
    case LoadResult::Done:
        return kDone;
    case LoadResult::Refused:
    case LoadResult::FileFailed:
        return kRefusedFile;
    default:
        return kFailed;
    }
}
