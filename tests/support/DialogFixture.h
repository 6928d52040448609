#pragma once

#include "app/CPlayerApp.h"
#include "device/UiMessagePump.h"
#include "sim/FaultInjectingPlayer.h"
#include "ui/WidgetAppUi.h"

#include <gtest/gtest.h>

#include <functional>

class CPlayerDlg;

// An application object on a simulated player, with the queue pumped by Qt's event loop, for tests that
// drive the real windows. Message boxes are recorded (see GuiTestMain), not shown.
class DialogFixture : public ::testing::Test
{
protected:
    DialogFixture();
    ~DialogFixture() override;

    // Opens the link, runs the main window modally and calls body once it is up; body ends by closing it
    // (or leaves that to the fixture).
    void runMainWindow(const std::function<void(CPlayerDlg&)>& body);

    // The output reports the player received since the last call.
    std::vector<std::vector<std::uint8_t>> takeReports();

    // Waits, handling events, until the condition holds or five seconds have passed.
    static bool waitFor(const std::function<bool()>& condition);

    WidgetAppUi ui;
    CPlayerApp app;
    FaultInjectingPlayer* player;
    UiMessagePump pump{app.Messages()};
};
