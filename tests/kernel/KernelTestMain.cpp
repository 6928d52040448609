#include "KernelTestMain.h"
#include "RecordingUi.h"

#include "app/CPlayerApp.h"
#include "device/HidapiBackend.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

// The program's own start-up opening of the player, with whatever rights this process has; prints each
// message the user would be shown on a line of its own.
int openPlayer()
{
    RecordingUi ui;
    CPlayerApp app;
    app.SetBackend(std::make_unique<HidapiBackend>());
    app.SetUi(&ui);
    app.OpenDevice();
    app.CloseDevice();
    for (const QString& message : ui.messages) {
        std::printf("%s\n", qPrintable(message));
    }
    return 0;
}

} // namespace

// Besides the tests, one step that a test runs as another user in a process of its own.
int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], kOpenPlayerStep) == 0) {
        return openPlayer();
    }
    // The device watcher lives on Qt's event loop, as in the program.
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
