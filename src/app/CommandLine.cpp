#include "app/CommandLine.h"

#include <QDir>
#include <QStandardPaths>

CommandLine CommandLine::parse(const QStringList& arguments)
{
    static const QString kSimulate = QStringLiteral("--simulate");
    CommandLine result;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            result.help = true;
        } else if (argument == kSimulate) {
            result.device = Device::Simulated;
            result.imagePath.clear();
        } else if (argument.startsWith(kSimulate + QLatin1Char('='))) {
            result.device = Device::Simulated;
            result.imagePath = argument.mid(kSimulate.size() + 1);
            if (result.imagePath.isEmpty()) {
                result.error = QStringLiteral("--simulate= needs a file name");
            }
        } else if (argument.startsWith(QLatin1String("--report-time="))) {
            bool ok = false;
            result.reportTimeUs = argument.mid(14).toInt(&ok);
            if (!ok || result.reportTimeUs < 0 || result.reportTimeUs > 1000000) {
                result.error = QStringLiteral("--report-time= needs a number of microseconds up to 1000000");
            }
        } else {
            result.error = QStringLiteral("unknown argument: %1").arg(argument);
        }
    }
    if (result.error.isEmpty() && result.reportTimeUs > 0 && result.device != Device::Simulated) {
        result.error = QStringLiteral("--report-time= only applies to the simulated player");
    }
    return result;
}

QString CommandLine::helpText(const QString& program)
{
    return QStringLiteral(
               "Usage: %1 [--simulate[=FILE]]\n"
               "\n"
               "Manages the tracks of a Zoffino USB audio player (vendor 115f, product 0230).\n"
               "Without options the program talks to the real player through hidapi.\n"
               "\n"
               "  --simulate        run on a simulated player instead; its 1 MiB flash is kept in\n"
               "                    %2\n"
               "  --simulate=FILE   run on a simulated player whose flash is kept in FILE (a plain\n"
               "                    1 MiB image, created erased when missing)\n"
               "  --report-time=US  with --simulate: each report takes US microseconds on the\n"
               "                    simulated bus (1000 as on full-speed USB; default 0)\n"
               "  -h, --help        show this text\n")
        .arg(program, QDir::toNativeSeparators(defaultImagePath()));
}

QString CommandLine::defaultImagePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/simulated-player.img");
}
