#pragma once

#include <QObject>

#include <memory>

class HidBackend;

// Tells the user-interface thread that HID interfaces may have come or gone, so that the program can look
// for its player again. What changed is found out by enumerating: the watcher only says when to look.
class DeviceWatcher : public QObject
{
    Q_OBJECT

public:
    // The best watcher this platform has for the backend's interfaces: the kernel's device events on Linux,
    // a look at the backend's list once a second elsewhere (or when the events cannot be had).
    static std::unique_ptr<DeviceWatcher> forBackend(HidBackend& backend);

    // While paused, nothing is reported; on resuming, a change that came meanwhile is.
    virtual void setPaused(bool paused) = 0;

signals:
    void changed();
};
