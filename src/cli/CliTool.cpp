#include "cli/CliTool.h"

#include "app/CPlayerApp.h"
#include "app/CommandLine.h"
#include "cli/TerminalProgress.h"
#include "cli/TerminalUi.h"
#include "device/Protocol.h"
#include "download/TrackLoader.h"
#include "download/TrackSlot.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <array>
#include <cstdio>

namespace {

QString slotSeconds(int mode)
{
    const std::optional<TrackSlot> slot = TrackSlot::forTrack(mode, 0);
    return slot ? QString::number(static_cast<double>(slot->capacity()) / TrackSlot::kSampleRate, 'f', 1)
                      .replace(QLatin1Char('.'), QLatin1Char(','))
                : QString();
}

int modeOf(const QString& count)
{
    const QStringList allowed{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("4"),
                              QStringLiteral("8")};
    return static_cast<int>(allowed.indexOf(count));
}

int usage(const QString& text)
{
    std::fprintf(stderr, "%s\nVedere: zoffino --help\n", qPrintable(text));
    return CliTool::kUsage;
}

} // namespace

int CliTool::run(const QStringList& given)
{
    const QStringList arguments = CommandLine::withDefaultImage(given);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Gestione da riga di comando del lettore Zoffino USB.\n\n"
                       "Comandi:\n"
                       "  info                   testo, configurazione e spazi del lettore\n"
                       "  load FILE --track N    carica un file audio nel brano N\n"
                       "  play N                 suona il brano N\n"
                       "  stop                   ferma il lettore\n"
                       "  config                 mostra o cambia la configurazione"));
    CommandLine::addStandardOptions(parser);
    CommandLine::addDeviceOptions(parser);
    const QCommandLineOption track(QStringLiteral("track"), QStringLiteral("Il brano (da 1)."),
                                   QStringLiteral("N"));
    const QCommandLineOption partition(QStringLiteral("partition"),
                                       QStringLiteral("Divide la memoria in 1, 2, 4 o 8 brani."),
                                       QStringLiteral("BRANI"));
    const QCommandLineOption loop(QStringLiteral("loop"), QStringLiteral("Ripetizione: on oppure off."),
                                  QStringLiteral("on|off"));
    const QCommandLineOption defaultTrack(
        QStringLiteral("default"),
        QStringLiteral("Il lettore suona un brano al tocco del suo tasto: 1 sì, 0 no."),
        QStringLiteral("1|0"));
    const QCommandLineOption yes({QStringLiteral("y"), QStringLiteral("yes")},
                                 QStringLiteral("Risponde sì alle domande (conversione, taglio)."));
    parser.addOptions({track, partition, loop, defaultTrack, yes});
    parser.addPositionalArgument(QStringLiteral("comando"),
                                 QStringLiteral("info, load, play, stop o config"));
    if (!parser.parse(arguments)) {
        return usage(parser.errorText());
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return kDone;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("zoffino %s\n", qPrintable(QCoreApplication::applicationVersion()));
        return kDone;
    }
    CommandLine device;
    device.readDeviceOptions(parser);
    if (!device.error.isEmpty()) {
        return usage(device.error);
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        return usage(QStringLiteral("Manca il comando."));
    }
    const QString& command = positional.first();
    // A mistyped command is told before any player is looked for.
    if (!QStringList{QStringLiteral("info"), QStringLiteral("load"), QStringLiteral("play"),
                     QStringLiteral("stop"), QStringLiteral("config")}
             .contains(command)) {
        return usage(QStringLiteral("Comando sconosciuto: %1").arg(command));
    }

    CPlayerApp app;
    TerminalUi ui(parser.isSet(yes));
    QString failure;
    std::unique_ptr<HidBackend> backend = device.openBackend(failure);
    if (!backend) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        return kFailed;
    }
    app.SetBackend(std::move(backend));
    app.SetUi(&ui);
    if (app.OpenDevice() != 0) {
        return kNoPlayer;
    }
    // Replies reach a query only while a window listens; here the tool itself does.
    app.Messages().setHandler(UiTarget::MainWindow, [](UiMessage&) {});
    std::array<std::uint8_t, 256> buffer{};
    app.ReadDeviceConfig(buffer);

    int result = kDone;
    if (command == QLatin1String("info")) {
        buffer.fill(0);
        if (app.QueryDeviceText(Protocol::CMD_GET_TEXT, buffer, 0, 0) == ReportProtocol::kQueryDone) {
            std::printf("Lettore: %s\n", reinterpret_cast<const char*>(buffer.data()));
        }
        const DeviceConfig& config = app.m_Config;
        std::printf("Brani: %d\nLoop: %s\nDefault: %s\nReport: %d byte in ingresso, %d in uscita\n",
                    1 << config.partitionMode(), config.loop() ? "on" : "off",
                    config.defaultFlag() != 0 ? "sì" : "no", app.Link().caps().input,
                    app.Link().caps().output);
        for (int mode = 0; mode <= 3; ++mode) {
            std::printf("Con %d brani: %s s ciascuno\n", 1 << mode, qPrintable(slotSeconds(mode)));
        }
    } else if (command == QLatin1String("play") || command == QLatin1String("stop")) {
        if (command == QLatin1String("play")) {
            bool ok = false;
            const int n = positional.value(1).toInt(&ok);
            if (!ok || n < 1 || n > (1 << app.m_Config.partitionMode())) {
                return usage(QStringLiteral("play vuole il numero di un brano, da 1 a %1.")
                                 .arg(1 << app.m_Config.partitionMode()));
            }
            app.SendCommand(Protocol::CMD_PLAY, ((n - 1) * 4) & 0xFF, 0, 0,
                            app.m_Config.partitionMode() == 0 ? 15 : 3);
        } else {
            app.SendCommand(Protocol::CMD_SET_CONFIG, app.m_Config.Config1, app.m_Config.Config2,
                            app.m_Config.Config3, 0);
        }
    } else if (command == QLatin1String("config")) {
        DeviceConfig config = app.m_Config;
        int mode = config.partitionMode();
        bool loopOn = config.loop();
        if (parser.isSet(partition) && (mode = modeOf(parser.value(partition))) < 0) {
            return usage(QStringLiteral("--partition vuole 1, 2, 4 o 8."));
        }
        if (parser.isSet(loop)) {
            if (parser.value(loop) != QLatin1String("on") && parser.value(loop) != QLatin1String("off")) {
                return usage(QStringLiteral("--loop vuole on oppure off."));
            }
            loopOn = parser.value(loop) == QLatin1String("on");
        }
        if (parser.isSet(defaultTrack) && parser.value(defaultTrack) != QLatin1String("1") &&
            parser.value(defaultTrack) != QLatin1String("0")) {
            return usage(QStringLiteral("--default vuole 1 oppure 0."));
        }
        const bool isDefault = parser.isSet(defaultTrack) ? parser.value(defaultTrack) == QLatin1String("1")
                                                          : config.defaultFlag() != 0;
        config = DeviceConfig::fromControls(loopOn, mode, isDefault, config.Config3);
        if (!(config == app.m_Config)) {
            app.SendCommand(Protocol::CMD_SET_CONFIG, config.Config1, config.Config2, config.Config3, 0);
            app.m_Config = config;
        }
        std::printf("Brani: %d\nLoop: %s\nDefault: %s\n", 1 << config.partitionMode(),
                    config.loop() ? "on" : "off", config.defaultFlag() != 0 ? "sì" : "no");
    } else if (command == QLatin1String("load")) {
        const QString file = positional.value(1);
        bool ok = false;
        const int n = parser.value(track).toInt(&ok);
        int mode = app.m_Config.partitionMode();
        if (parser.isSet(partition) && (mode = modeOf(parser.value(partition))) < 0) {
            return usage(QStringLiteral("--partition vuole 1, 2, 4 o 8."));
        }
        if (file.isEmpty() || !ok || n < 1 || n > (1 << mode)) {
            return usage(QStringLiteral("load vuole un FILE e --track N, con N da 1 a %1.").arg(1 << mode));
        }
        const std::optional<TrackSlot> slot = TrackSlot::forTrack(mode, n - 1);
        const DeviceConfig controls = DeviceConfig::fromControls(
            app.m_Config.loop(), mode, app.m_Config.defaultFlag() != 0, app.m_Config.Config3);
        // Declined, interrupted before the first block, or refused: nothing went to the player.
        const std::vector<int> erased = app.TracksErasedBy(mode, *slot);
        const bool go =
            (erased.empty() || app.ConfirmRepartition(mode, erased)) && TerminalProgress::s_interrupted == 0;
        const int loaded = go ? app.LoadTrack(file, QFileInfo(file).completeBaseName(), *slot, controls)
                              : TrackLoader::kCancelled;
        if (loaded == TrackDownload::kRefused || loaded == TrackDownload::kFileFailed) {
            result = kRefusedFile;
        } else if (loaded != TrackDownload::kDone) {
            result = kFailed;
        }
    } else {
        result = usage(QStringLiteral("Comando sconosciuto: %1").arg(command));
    }
    app.Messages().clearHandler(UiTarget::MainWindow);
    app.CloseDevice();
    app.SetUi(nullptr);
    return result;
}
