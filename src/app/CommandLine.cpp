#include "app/CommandLine.h"

#include "device/HidapiBackend.h"
#include "sim/SimulatedPlayer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {

const QString kSimulate = QStringLiteral("simulate");
const QString kReportTime = QStringLiteral("report-time");
const QString kDevice = QStringLiteral("device");
constexpr int kMaxReportTimeUs = 1000000;

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Gestisce i brani del lettore audio Zoffino USB (vendor 115f, product 0230).\n"
                       "Senza opzioni usa il lettore collegato, attraverso hidapi."));
    CommandLine::addStandardOptions(parser);
    CommandLine::addDeviceOptions(parser);
    // Qt's own options, which QApplication takes for itself, are known here too, so that the arguments can
    // be checked before there is a display. They are spelt with one dash, like Qt's documentation does.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QStringList withValue{QStringLiteral("platform"),
                                QStringLiteral("platformpluginpath"),
                                QStringLiteral("platformtheme"),
                                QStringLiteral("plugin"),
                                QStringLiteral("style"),
                                QStringLiteral("stylesheet"),
                                QStringLiteral("display"),
                                QStringLiteral("geometry"),
                                QStringLiteral("qwindowgeometry"),
                                QStringLiteral("title"),
                                QStringLiteral("qwindowtitle"),
                                QStringLiteral("icon"),
                                QStringLiteral("qwindowicon"),
                                QStringLiteral("session"),
                                QStringLiteral("name"),
                                QStringLiteral("qmljsdebugger")};
    for (const QString& name : withValue) {
        QCommandLineOption option(name, QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

CommandLine CommandLine::parse(const QStringList& arguments)
{
    CommandLine result;
    QCommandLineParser parser;
    describe(parser);
    if (!parser.parse(QStringList{QStringLiteral("ZoffinoUSB")} + withDefaultImage(arguments))) {
        result.error = parser.errorText();
    }
    // Help is given even beside an unknown option, as it says what the known ones are.
    result.help = parser.isSet(QStringLiteral("help"));
    result.version = parser.isSet(QStringLiteral("version"));
    if (result.error.isEmpty() && !parser.positionalArguments().isEmpty()) {
        result.error = tr("Argomento sconosciuto: %1").arg(parser.positionalArguments().first());
    }
    if (result.error.isEmpty()) {
        result.readDeviceOptions(parser);
    }
    return result;
}

QString CommandLine::helpText()
{
    QCommandLineParser parser;
    describe(parser);
    const QString folder = defaultImagePath();
    return parser.helpText() + (folder.isEmpty()
                                    ? QString()
                                    : tr("\nCon --simulate senza FILE la memoria simulata è in\n  %1\n")
                                          .arg(QDir::toNativeSeparators(folder)));
}

QString CommandLine::programVersion()
{
    return QStringLiteral(ZOFFINO_VERSION);
}

QString CommandLine::defaultImagePath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // The window's own folder, whichever program asks: the command-line tool has a name of its own.
    const QString program = QCoreApplication::applicationName();
    const QString window = QStringLiteral("ZoffinoUSB");
    if (program != window && folder.endsWith(QLatin1Char('/') + program)) {
        folder = folder.left(folder.size() - program.size()) + window;
    }
    // Without a home there is no data folder, and the image must not land wherever "" leads.
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/simulated-player.img");
}

void CommandLine::addStandardOptions(QCommandLineParser& parser)
{
    // Qt's own help option has no text in the program's catalogues.
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, tr("Mostra questo aiuto.")});
    parser.addOption({{QStringLiteral("v"), QStringLiteral("version")},
                      tr("Mostra il numero di versione del programma.")});
}

void CommandLine::addDeviceOptions(QCommandLineParser& parser)
{
    parser.addOption({kSimulate,
                      tr("Usa un lettore simulato, con la memoria da 1 MiB nel FILE (creata "
                         "cancellata se manca). --simulate senza FILE: nella cartella dei dati "
                         "dell'utente."),
                      tr("FILE")});
    parser.addOption({kReportTime,
                      tr("Con --simulate: ogni report impiega US microsecondi sul bus simulato "
                         "(1000 come su USB full-speed; predefinito 0)."),
                      tr("US"), QStringLiteral("0")});
    parser.addOption({kDevice,
                      tr("Usa il lettore al PERCORSO (come lo mostra zoffino list), non il primo "
                         "collegato."),
                      tr("PERCORSO")});
}

QStringList CommandLine::deviceOptionNames()
{
    return {kSimulate, kReportTime, kDevice};
}

QStringList CommandLine::withDefaultImage(const QStringList& arguments)
{
    QStringList result;
    result.reserve(arguments.size());
    bool options = true;
    for (const QString& argument : arguments) {
        // After "--" everything is a name, even one spelt like an option.
        if (options && argument == QLatin1String("--simulate")) {
            result << QStringLiteral("--simulate=") + defaultImagePath();
        } else {
            options = options && argument != QLatin1String("--");
            result << argument;
        }
    }
    return result;
}

void CommandLine::readDeviceOptions(const QCommandLineParser& parser)
{
    if (parser.isSet(kSimulate)) {
        device = Device::Simulated;
        imagePath = parser.value(kSimulate);
        if (imagePath.isEmpty()) {
            error = defaultImagePath().isEmpty()
                        ? tr("--simulate: nessuna cartella dei dati; indicare --simulate=FILE.")
                        : tr("--simulate= vuole il nome di un file.");
            return;
        }
    }
    if (parser.isSet(kDevice)) {
        devicePath = parser.value(kDevice);
        if (devicePath.isEmpty()) {
            error = tr("--device vuole il percorso di un lettore (zoffino list li mostra).");
            return;
        }
    }
    if (parser.isSet(kReportTime)) {
        bool ok = false;
        reportTimeUs = parser.value(kReportTime).toInt(&ok);
        if (!ok || reportTimeUs < 0 || reportTimeUs > kMaxReportTimeUs) {
            error = tr("--report-time vuole un numero di microsecondi da 0 a %1.").arg(kMaxReportTimeUs);
        } else if (reportTimeUs > 0 && device != Device::Simulated) {
            error = tr("--report-time vale solo per il lettore simulato (--simulate).");
        }
    }
}

std::unique_ptr<HidBackend> CommandLine::openBackend(QString& failure, QString* readOnly) const
{
    if (device != Device::Simulated) {
        return std::make_unique<HidapiBackend>();
    }
    std::string reason;
    auto player = SimulatedPlayer::onImage(imagePath, std::chrono::microseconds(reportTimeUs), reason);
    if (!player) {
        // The image's own message names the file and says what to do about it.
        failure = QString::fromStdString(reason);
    } else if (readOnly && player->imageReadOnly()) {
        *readOnly = tr("L'immagine \"%1\" è in sola lettura: il lettore simulato mostra e suona quello che "
                       "contiene, ma non può tenere brani nuovi né un'altra configurazione. Per cambiarla, "
                       "renderla scrivibile (chmod u+w) o indicarne un'altra.")
                        .arg(imagePath);
    }
    return player;
}
