#include "cli/CliTool.h"

#include "app/CommandLine.h"
#include "app/QtTranslations.h"
#include "cli/TerminalProgress.h"
#include "download/TempFiles.h"
#include "sound/QtSoundOutput.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdlib>
#include <memory>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    // Ctrl+C is a request: before the first block nothing is sent, during a download it stops after the
    // block under way with the slot closed. A second one ends the program at once. A closed terminal, a
    // logout or `timeout` (SIGHUP, SIGTERM) asks the same: ending in the middle of a slot would leave the
    // new track's first blocks before the old track's.
    for (const int stopSignal : {SIGINT, SIGTERM, SIGHUP}) {
        std::signal(stopSignal, [](int) {
            if (TerminalProgress::s_interrupted != 0) {
                std::_Exit(130);
            }
            TerminalProgress::s_interrupted = 1;
        });
    }
    QCoreApplication::setOrganizationName(QStringLiteral("Quenmark Audio"));
    QCoreApplication::setApplicationName(QStringLiteral("zoffino"));
    QCoreApplication::setApplicationVersion(CommandLine::programVersion());
    // QCommandLineParser's own texts (usage, errors) in the program's language.
    QtTranslations::install();
    // What a killed run of either program left in the temporary folder.
    TempFiles::removeLeftovers();
    return CliTool::run(QCoreApplication::arguments(), [] { return std::make_unique<QtSoundOutput>(); });
}
