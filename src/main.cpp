#include "app/CPlayerApp.h"
#include "app/CommandLine.h"
#include "device/HidapiBackend.h"
#include "sim/SimulatedPlayer.h"
#include "ui/WidgetAppUi.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

CPlayerApp theApp;

int main(int argc, char* argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quenmark Audio"));
    // Asking for help must work without a display, so it is answered before the GUI starts.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            QCoreApplication::setApplicationName(QFileInfo(QString::fromLocal8Bit(argv[0])).baseName());
            std::fputs(qPrintable(CommandLine::helpText(QCoreApplication::applicationName())), stdout);
            return 0;
        }
    }

    QApplication application(argc, argv);
    const CommandLine options = CommandLine::parse(QApplication::arguments().mid(1));
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "%s\n%s", qPrintable(options.error),
                     qPrintable(CommandLine::helpText(QApplication::applicationName())));
        return 2;
    }

    if (options.device == CommandLine::Device::Simulated) {
        const QString path =
            options.imagePath.isEmpty() ? CommandLine::defaultImagePath() : options.imagePath;
        QDir().mkpath(QFileInfo(path).absolutePath());
        auto player = std::make_unique<SimulatedPlayer>();
        std::string error;
        if (!player->attachImage(QFile::encodeName(path).toStdString(), error)) {
            std::fprintf(stderr, "Impossibile usare \"%s\" come memoria del lettore simulato: %s\n",
                         qPrintable(QDir::toNativeSeparators(path)), error.c_str());
            return 1;
        }
        player->setReportTime(std::chrono::microseconds(options.reportTimeUs));
        theApp.SetBackend(std::move(player));
    } else {
        theApp.SetBackend(std::make_unique<HidapiBackend>());
    }

    WidgetAppUi ui;
    theApp.SetUi(&ui);
    theApp.InitInstance();
    theApp.SetUi(nullptr);
    // Flushes the simulated player's image and ends hidapi while the application still exists.
    theApp.SetBackend(nullptr);
    return 0;
}
