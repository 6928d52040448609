#include "device/DeviceWatcher.h"

#include "device/PollingDeviceWatcher.h"

#ifdef ZOFFINO_HAVE_UDEV
#include "device/UdevDeviceWatcher.h"
#endif

std::unique_ptr<DeviceWatcher> DeviceWatcher::forBackend(HidBackend& backend)
{
#ifdef ZOFFINO_HAVE_UDEV
    if (backend.systemDevices()) {
        if (std::unique_ptr<UdevDeviceWatcher> watcher = UdevDeviceWatcher::create()) {
            return watcher;
        }
    }
#endif
    // Once a second: a player plugged in is found about as soon as the user looks for it.
    return std::make_unique<PollingDeviceWatcher>(backend, std::chrono::seconds(1));
}
