#include "app/CPlayerApp.h"
#include "app/CommandLine.h"
#include "app/QtTranslations.h"
#include "app/SingleInstance.h"
#include "device/DeviceWatcher.h"
#include "download/TempFiles.h"
#include "sound/QtSoundOutput.h"
#include "ui/StopSignal.h"
#include "ui/WidgetAppUi.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>

CPlayerApp theApp;

int main(int argc, char* argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quenmark Audio"));
    QCoreApplication::setApplicationVersion(CommandLine::programVersion());
    // Help, the version and arguments that make no sense are answered before the GUI starts, so they need
    // no display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const CommandLine early = CommandLine::parse(arguments);
    if (early.help || early.version || !early.error.isEmpty()) {
        QCoreApplication core(argc, argv);
        QtTranslations::install();
        if (early.help) {
            std::fputs(qPrintable(CommandLine::helpText()), stdout);
        } else if (early.version) {
            std::printf("ZoffinoUSB %s\n", qPrintable(CommandLine::programVersion()));
        } else {
            // Parsed again for Qt's part of the text in the program's language, which needs the application's
            // translator.
            std::fprintf(
                stderr, "%s\n%s\n", qPrintable(CommandLine::parse(arguments).error),
                qPrintable(CommandLine::tr("Vedere: %1 --help").arg(QCoreApplication::arguments().value(0))));
            return 2;
        }
        return 0;
    }

    QApplication application(argc, argv);
    // From here on a logout or `kill` ends the program as its user would, settings saved.
    StopSignal stopSignal;
    // Lets a Wayland desktop match the window to its menu entry, and so to its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.quenmarkaudio.ZoffinoUSB"));
    // The system's language for the program's windows and Qt's own dialogs and buttons alike; without Qt's
    // catalogue the program works on with Qt's English, so a missing translations package is no error.
    QtTranslations::install();
    // Read again now that the application has its name, which names the default image's folder.
    const CommandLine options = CommandLine::parse(arguments);

    // One program per user: two would interleave their blocks in the player's memory.
    SingleInstance instance(QStringLiteral("ZoffinoUSB"));
    if (!instance.claim()) {
        const QString text =
            instance.activateRunning()
                ? QCoreApplication::translate(
                      "SingleInstance",
                      "ZoffinoUSB è già aperto: la sua finestra è stata portata in primo piano.")
                : QCoreApplication::translate(
                      "SingleInstance",
                      "ZoffinoUSB è già aperto ma non risponde: chiuderlo prima di aprirlo di nuovo.");
        std::fprintf(stderr, "%s\n", qPrintable(text));
        MessageBox::show(nullptr, text, MessageIcon::Information);
        return 1;
    }
    QObject::connect(&instance, &SingleInstance::activationRequested, [] {
        // The window in front is the topmost modal one: the main window, or a window it opened.
        if (QWidget* window = QApplication::activeModalWidget()) {
            window->showNormal();
            window->raise();
            window->activateWindow();
        }
    });

    // What a killed run of either program left in the temporary folder.
    TempFiles::removeLeftovers();

    QString failure;
    std::unique_ptr<HidBackend> backend = options.openBackend(failure);
    if (!backend) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        return 1;
    }
    theApp.SetBackend(std::move(backend));
    theApp.SetDevicePath(options.devicePath);

    // Players plugged in or out while the program runs are found without a restart.
    theApp.SetWatcher(DeviceWatcher::forBackend(*theApp.Backend()));

    // The track window's preview; what it needs of the sound server it asks for only when used.
    QtSoundOutput sound;
    WidgetAppUi ui;
    ui.setSoundOutput(&sound);
    QObject::connect(&stopSignal, &StopSignal::received, [&ui] { ui.stop(); });
    theApp.SetUi(&ui);
    theApp.InitInstance();
    theApp.SetUi(nullptr);
    theApp.SetWatcher(nullptr);
    // Flushes the simulated player's image and ends hidapi while the application still exists.
    theApp.SetBackend(nullptr);
    return 0;
}
