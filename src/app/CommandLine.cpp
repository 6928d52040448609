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
        } else {
            result.error = QStringLiteral("unknown argument: %1").arg(argument);
        }
    }
    return result;
}

QString CommandLine::helpText(const QString& program)
{
    return QStringLiteral("Usage: %1 [--simulate[=FILE]]\n"
                          "\n"
                          "Manages the tracks of a Zoffino USB audio player (vendor 115f, product 0230).\n"
                          "Without options the program talks to the real player through hidapi.\n"
                          "\n"
                          "  --simulate        run on a simulated player instead; its 1 MiB flash is kept in\n"
                          "                    %2\n"
                          "  --simulate=FILE   run on a simulated player whose flash is kept in FILE (a plain\n"
                          "                    1 MiB image, created erased when missing)\n"
                          "  -h, --help        show this text\n")
        .arg(program, QDir::toNativeSeparators(defaultImagePath()));
}

QString CommandLine::defaultImagePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/simulated-player.img");
}
