#pragma once

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class HidBackend;

// Tells the user-interface thread that HID interfaces may have come or gone, so that the program can look
// for its player again. What is there now is found out by enumerating; the watcher also names the interfaces
// that went, because a player unplugged and plugged in again may come back under the same path.
class DeviceWatcher : public QObject
{
    Q_OBJECT

public:
    // The best watcher this platform has for the backend's interfaces: the kernel's device events on Linux,
    // a look at the backend's list once a second elsewhere (or when the events cannot be had).
    static std::unique_ptr<DeviceWatcher> forBackend(HidBackend& backend);

    // While paused, nothing is reported; on resuming, what changed meanwhile is.
    virtual void setPaused(bool paused) = 0;

signals:
    // removedPaths: the interfaces that went since the last report (some may be back already).
    void changed(const std::vector<std::string>& removedPaths);
};
