#include "device/DeviceWatcher.h"

#include "device/PollingDeviceWatcher.h"
#include "device/UdevDeviceWatcher.h"

std::unique_ptr<DeviceWatcher> DeviceWatcher::forBackend(HidBackend& backend)
{
    // The kernel's own events for real devices; the simulated player has none to give.
    if (backend.systemDevices()) {
        if (std::unique_ptr<UdevDeviceWatcher> watcher = UdevDeviceWatcher::create()) {
            return watcher;
        }
    }
    // Once a second: a player plugged in is found about as soon as the user looks for it.
    return std::make_unique<PollingDeviceWatcher>(backend, std::chrono::seconds(1));
}
