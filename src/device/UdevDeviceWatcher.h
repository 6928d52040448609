#pragma once

#include "device/DeviceWatcher.h"

#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;
struct udev;
struct udev_monitor;

// The kernel's events for hidraw nodes, through libudev's monitor on the user-interface thread's event loop:
// nothing is polled.
class UdevDeviceWatcher : public DeviceWatcher
{
    Q_OBJECT

public:
    // Null when the events cannot be had (no netlink socket, say).
    static std::unique_ptr<UdevDeviceWatcher> create();
    ~UdevDeviceWatcher() override;

    void setPaused(bool paused) override;

private:
    UdevDeviceWatcher(udev* context, udev_monitor* monitor);
    void onEvents();

    udev* m_udev;
    udev_monitor* m_monitor;
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_paused = false;
    bool m_missed = false;
    std::vector<std::string> m_removed;
};
