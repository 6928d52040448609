#include "cli/CliTool.h"

#include "app/CPlayerApp.h"
#include "app/CommandLine.h"
#include "app/OpenFailureAdvice.h"
#include "cli/CliCommon.h"
#include "cli/PartOptions.h"
#include "cli/TerminalProgress.h"
#include "cli/TerminalUi.h"
#include "download/Durations.h"
#include "download/TrackSlot.h"

#include <QCommandLineParser>

#include <array>
#include <cerrno>
#include <cstdio>
#include <map>

using CliCommon::interrupted;
using CliCommon::partitionOption;
using CliCommon::usage;

namespace {

// What each command takes besides the device options: how many words after its name, and which options.
struct CommandShape
{
    static constexpr int kAny = -1;
    int arguments; // at most; kAny for no limit
    QStringList options;
};

const std::map<QString, CommandShape>& commands()
{
    static const std::map<QString, CommandShape> shapes{
        {QStringLiteral("list"), {0, {}}},
        {QStringLiteral("info"), {0, {}}},
        {QStringLiteral("load"),
         {CommandShape::kAny,
          QStringList{QStringLiteral("track"), QStringLiteral("partition"), QStringLiteral("yes")} +
              PartOptions::names()}},
        {QStringLiteral("convert"), {2, QStringList{QStringLiteral("partition")} + PartOptions::names()}},
        {QStringLiteral("preview"), {1, QStringList{QStringLiteral("partition")} + PartOptions::names()}},
        {QStringLiteral("play"), {1, {}}},
        {QStringLiteral("stop"), {0, {}}},
        {QStringLiteral("config"),
         {0,
          {QStringLiteral("loop"), QStringLiteral("default"), QStringLiteral("partition"),
           QStringLiteral("yes")}}},
    };
    return shapes;
}

// A command the player did not take: the link is gone for good.
int notTaken()
{
    std::fprintf(stderr, "%s\n",
                 qPrintable(CliTool::tr("Il lettore non ha preso il comando: scollegarlo, ricollegarlo e "
                                        "riprovare.")));
    return CliTool::kFailed;
}

int sent(CPlayerApp::CommandResult result)
{
    switch (result) {
    case CPlayerApp::CommandResult::Sent:
        return CliTool::kDone;
    case CPlayerApp::CommandResult::NotTaken:
        return notTaken();
    case CPlayerApp::CommandResult::PlayerTaken:
        break;
    }
    return CliTool::kFailed;
}

QString yesNo(bool value)
{
    return value ? CliTool::tr("sì") : CliTool::tr("no");
}

} // namespace

int CliCommon::usage(const QString& text)
{
    std::fprintf(stderr, "%s\n%s\n", qPrintable(text), qPrintable(CliTool::tr("Vedere: zoffino --help")));
    return CliTool::kUsage;
}

std::optional<int> CliCommon::partitionOption(const QCommandLineParser& parser)
{
    bool ok = false;
    const int count = parser.value(QStringLiteral("partition")).toInt(&ok);
    return ok ? TrackSlot::modeForCount(count) : std::nullopt;
}

bool CliCommon::interrupted()
{
    return TerminalProgress::s_interrupted != 0;
}

int CliTool::run(const QStringList& given, const SoundOutputFactory& makeSound)
{
    const QStringList arguments = CommandLine::withDefaultImage(given);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        tr("Gestione da riga di comando del lettore Zoffino USB.\n\n"
           "Comandi:\n"
           "  list                   i lettori collegati: percorso, testo, numero\n"
           "                         di serie\n"
           "  info                   testo, configurazione, spazi e brani del lettore\n"
           "  load FILE --track N    carica un file audio nel brano N\n"
           "  load FILE FILE...      carica più file, uno per brano, dal primo\n"
           "                         (o da --track N) in poi\n"
           "  convert FILE OUT.wav   scrive la parte del file che andrebbe nel\n"
           "                         lettore, senza lettore (--partition, 1 se\n"
           "                         manca)\n"
           "  preview FILE           fa ascoltare sul computer quella parte,\n"
           "                         come la suonerà il lettore\n"
           "  play N                 suona il brano N\n"
           "  stop                   ferma il lettore\n"
           "  config                 mostra o cambia la configurazione"));
    CommandLine::addStandardOptions(parser);
    CommandLine::addDeviceOptions(parser);
    parser.addOptions({
        {QStringLiteral("track"), tr("Il brano (da 1)."), QStringLiteral("N")},
        {QStringLiteral("partition"), tr("Divide la memoria in 1, 2, 4 o 8 brani."), tr("BRANI")},
        {QStringLiteral("loop"), tr("Ripetizione: on oppure off."), QStringLiteral("on|off")},
        {QStringLiteral("default"), tr("Il lettore suona un brano al tocco del suo tasto: 1 sì, 0 no."),
         QStringLiteral("1|0")},
        {{QStringLiteral("y"), QStringLiteral("yes")},
         tr("Risponde sì alle domande (conversione, taglio, brani cancellati).")},
    });
    parser.addOptions(PartOptions::options());
    parser.addPositionalArgument(tr("comando"),
                                 tr("list, info, load, convert, preview, play, stop o config"));
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
        return usage(tr("Manca il comando."));
    }
    // Whatever is mistyped or left over is told before any player is looked for.
    const QString& command = positional.first();
    const auto shape = commands().find(command);
    if (shape == commands().end()) {
        return usage(tr("Comando sconosciuto: %1").arg(command));
    }
    const int most = shape->second.arguments;
    if (most != CommandShape::kAny && positional.size() - 1 > most) {
        return usage(
            tr("%1 non vuole altro dopo di sé: %2").arg(command, positional.mid(1).join(QLatin1Char(' '))));
    }
    const QStringList deviceOptions = CommandLine::deviceOptionNames();
    for (const QString& option : parser.optionNames()) {
        const QString name = option == QLatin1String("y") ? QStringLiteral("yes") : option;
        if (!shape->second.options.contains(name) && !deviceOptions.contains(name)) {
            return usage(tr("%1 non accetta --%2.").arg(command, name));
        }
    }
    if (parser.isSet(QStringLiteral("partition")) && !partitionOption(parser)) {
        return usage(tr("--partition vuole 1, 2, 4 o 8."));
    }
    QString malformed;
    const std::optional<PartRequest> part = PartOptions::read(parser, malformed);
    if (!part) {
        return usage(malformed);
    }
    if (command == QLatin1String("convert")) {
        return convert(parser, positional.value(1), positional.value(2), *part);
    }
    if (command == QLatin1String("preview")) {
        return preview(parser, positional.value(1), *part, makeSound);
    }

    CPlayerApp app;
    TerminalUi ui(parser.isSet(QStringLiteral("yes")));
    QString failure;
    QString readOnly;
    std::unique_ptr<HidBackend> backend = device.openBackend(failure, &readOnly);
    if (!backend) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        return kFailed;
    }
    // What only reads works on an image that may only be read; what would change it says why it cannot.
    const bool changes = command == QLatin1String("load") ||
                         (command == QLatin1String("config") &&
                          (parser.isSet(QStringLiteral("partition")) ||
                           parser.isSet(QStringLiteral("loop")) || parser.isSet(QStringLiteral("default"))));
    if (changes && !readOnly.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(readOnly));
        return kFailed;
    }
    app.SetBackend(std::move(backend));
    app.SetDevicePath(device.devicePath);
    app.SetUi(&ui);
    if (command == QLatin1String("list")) {
        const int listed = list(app);
        app.SetUi(nullptr);
        return listed;
    }
    if (app.OpenDevice() != 0) {
        app.SetUi(nullptr);
        return kNoPlayer;
    }
    std::array<std::uint8_t, 256> buffer{};
    app.ReadDeviceConfig(buffer);
    // The track names are the window's: a track loaded here has its name there, and the other way round.
    // Only the commands that can change them write the store; info only reads it.
    const bool keepsNames = command == QLatin1String("load") || command == QLatin1String("config");
    if (keepsNames || command == QLatin1String("info")) {
        app.LoadSettings(QStringLiteral("ZoffinoUSB"));
    }

    int result = kDone;
    if (command == QLatin1String("info")) {
        result = info(app);
    } else if (command == QLatin1String("play")) {
        result = play(app, positional.value(1));
    } else if (command == QLatin1String("stop")) {
        result = sent(app.Stop());
    } else if (command == QLatin1String("config")) {
        result = config(app, parser);
    } else {
        result = load(app, parser, positional.mid(1), *part);
    }
    app.CloseDevice();
    if (keepsNames) {
        app.SaveSettings();
    }
    app.SetUi(nullptr);
    return result;
}

int CliTool::list(CPlayerApp& app)
{
    const std::vector<CPlayerApp::PlayerEntry> players = app.Players();
    if (players.empty()) {
        std::fprintf(stderr, "%s\n", qPrintable(OpenFailureAdvice::forCode(DeviceLink::kErrorNoMoreItems)));
        return kNoPlayer;
    }
    bool denied = false;
    for (const CPlayerApp::PlayerEntry& player : players) {
        // The path first: what --device takes.
        QString line =
            QString::fromStdString(player.path) + QStringLiteral("  ") + CPlayerApp::PlayerText(player);
        if (!player.serial.empty()) {
            line +=
                QStringLiteral("  ") + tr("numero di serie %1").arg(QString::fromStdString(player.serial));
        }
        std::printf("%s\n", qPrintable(line));
        denied = denied || OpenFailureAdvice::isPermission(player.openFailure);
    }
    // What a player this user may not open needs, once for all of them.
    if (denied) {
        std::fprintf(stderr, "%s\n", qPrintable(OpenFailureAdvice::forCode(EACCES)));
    }
    return kDone;
}

int CliTool::info(CPlayerApp& app)
{
    if (const std::optional<QString> text = app.DeviceText()) {
        std::printf("%s\n", qPrintable(tr("Lettore: %1").arg(*text)));
    }
    const DeviceConfig& config = app.m_Config;
    const int tracks = TrackSlot::countFor(config.partitionMode());
    std::printf("%s\n",
                qPrintable(tr("Brani: %1\nLoop: %2\nDefault: %3\nReport: %4 byte in ingresso, %5 in uscita")
                               .arg(tracks)
                               .arg(config.loop() ? QStringLiteral("on") : QStringLiteral("off"))
                               .arg(yesNo(config.defaultFlag() != 0))
                               .arg(app.Link().caps().input)
                               .arg(app.Link().caps().output)));
    for (int mode = 0; mode <= 3; ++mode) {
        std::printf("%s\n", qPrintable(tr("Con %n brani: %1 s ciascuno", nullptr, TrackSlot::countFor(mode))
                                           .arg(Durations::tenths(TrackSlot::secondsFor(mode)))));
    }
    for (int track = 0; track < tracks; ++track) {
        std::printf("%s\n",
                    qPrintable(tr("Brano %1: %2").arg(QString::number(track + 1), app.TrackLabel(track))));
    }
    return kDone;
}

int CliTool::play(CPlayerApp& app, const QString& track)
{
    const int mode = app.m_Config.partitionMode();
    bool ok = false;
    const int n = track.toInt(&ok);
    if (!ok || n < 1 || n > TrackSlot::countFor(mode)) {
        return usage(tr("play vuole il numero di un brano, da 1 a %1.").arg(TrackSlot::countFor(mode)));
    }
    return sent(app.Play(n - 1, mode));
}

int CliTool::config(CPlayerApp& app, const QCommandLineParser& parser)
{
    DeviceConfig config = app.m_Config;
    const int mode = partitionOption(parser).value_or(config.partitionMode());
    bool loop = config.loop();
    if (parser.isSet(QStringLiteral("loop"))) {
        const QString value = parser.value(QStringLiteral("loop"));
        if (value != QLatin1String("on") && value != QLatin1String("off")) {
            return usage(tr("--loop vuole on oppure off."));
        }
        loop = value == QLatin1String("on");
    }
    bool isDefault = config.defaultFlag() != 0;
    if (parser.isSet(QStringLiteral("default"))) {
        const QString value = parser.value(QStringLiteral("default"));
        if (value != QLatin1String("1") && value != QLatin1String("0")) {
            return usage(tr("--default vuole 1 oppure 0."));
        }
        isDefault = value == QLatin1String("1");
    }
    config = DeviceConfig::fromControls(loop, mode, isDefault, config.Config3);
    switch (app.ChangeConfig(config)) {
    case CPlayerApp::ConfigChange::Sent:
        break;
    case CPlayerApp::ConfigChange::Declined:
        return interrupted() ? kInterrupted : kFailed;
    case CPlayerApp::ConfigChange::NotTaken:
        return notTaken();
    }
    std::printf("%s\n", qPrintable(tr("Brani: %1\nLoop: %2\nDefault: %3")
                                       .arg(TrackSlot::countFor(config.partitionMode()))
                                       .arg(config.loop() ? QStringLiteral("on") : QStringLiteral("off"))
                                       .arg(yesNo(config.defaultFlag() != 0))));
    return kDone;
}
