#pragma once

#include "download/DownloadUi.h"

class CPlayerApp;

// What the application needs from the user interface: what a download needs, and the main window. The
// widget library implements it with real dialogs; core tests put a recording fake in its place.
class AppUi : public DownloadUi
{
public:
    // Creates the main window, runs it modally until the user closes it, packs its last state into the
    // configuration and deletes it again.
    virtual void runMainWindow(CPlayerApp& app) = 0;

    // The player was plugged in (present) or out while the program ran; m_nDeviceState already says so.
    virtual void deviceChanged(bool present) = 0;

    // A command that hands out the user-interface events while it runs started (busy) or ended: what must
    // not start meanwhile waits for it.
    virtual void busyChanged(bool busy) { (void)busy; }
};
