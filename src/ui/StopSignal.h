#pragma once

#include "device/WakeDescriptor.h"

#include <QObject>

#include <csignal>
#include <memory>

class QSocketNotifier;

// SIGTERM and SIGHUP (a logout, `kill`, the terminal the program was started from closing) ask the window
// program to end as its user would end it: a download stops after the block under way with its slot closed,
// and then the main window closes. A second signal ends the program at once. The handler only counts the
// signal and wakes a descriptor; what follows happens on the user-interface thread. One at a time.
class StopSignal : public QObject
{
    Q_OBJECT

public:
    // Takes the signals over where the system has them; elsewhere it does nothing.
    StopSignal();
    // Gives the signals their former handlers back and forgets the request.
    ~StopSignal() override;

    // True from the first signal on, even before the event loop has handed it out: a download asks it
    // between blocks.
    static bool requested() { return s_received != 0; }

signals:
    // On the user-interface thread, once, after the first signal.
    void received();

private:
    // One file per system: installs (or restores) the handlers; false where there are none.
    static bool install();
    static void restore();
    static void onSignal(int signal);

    static volatile std::sig_atomic_t s_received;
    static int s_wakeFd;

    WakeDescriptor m_wake;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
