#include "device/UdevDeviceWatcher.h"

#include <QFileInfo>
#include <QSocketNotifier>

#include <libudev.h>

#include <string_view>
#include <utility>

std::unique_ptr<UdevDeviceWatcher> UdevDeviceWatcher::create()
{
    udev* context = udev_new();
    if (!context) {
        return nullptr;
    }
    // The udev daemon's events come once its rules have run (the node's permissions applied); without a
    // daemon, as in a minimal system, only the kernel's own events exist.
    const char* source = QFileInfo::exists(QStringLiteral("/run/udev/control")) ? "udev" : "kernel";
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, source);
    if (!monitor || udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        if (monitor) {
            udev_monitor_unref(monitor);
        }
        udev_unref(context);
        return nullptr;
    }
    return std::unique_ptr<UdevDeviceWatcher>(new UdevDeviceWatcher(context, monitor));
}

UdevDeviceWatcher::UdevDeviceWatcher(udev* context, udev_monitor* monitor)
    : m_udev(context), m_monitor(monitor),
      m_notifier(std::make_unique<QSocketNotifier>(udev_monitor_get_fd(monitor), QSocketNotifier::Read))
{
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &UdevDeviceWatcher::onEvents);
}

UdevDeviceWatcher::~UdevDeviceWatcher()
{
    m_notifier.reset();
    udev_monitor_unref(m_monitor);
    udev_unref(m_udev);
}

void UdevDeviceWatcher::onEvents()
{
    // The socket does not block: every event waiting is taken, and one report covers them all.
    bool any = false;
    while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
        const char* action = udev_device_get_action(device);
        const char* node = udev_device_get_devnode(device);
        if (action && node && std::string_view(action) == "remove") {
            m_removed.emplace_back(node);
        }
        udev_device_unref(device);
        any = true;
    }
    if (!any) {
        return;
    }
    if (m_paused) {
        m_missed = true;
        return;
    }
    emit changed(std::exchange(m_removed, {}));
}

void UdevDeviceWatcher::setPaused(bool paused)
{
    m_paused = paused;
    if (!paused && std::exchange(m_missed, false)) {
        emit changed(std::exchange(m_removed, {}));
    }
}
