#include "device/DeviceWatcher.h"

#include "device/PollingDeviceWatcher.h"

std::unique_ptr<DeviceWatcher> DeviceWatcher::forBackend(HidBackend& backend)
{
    // Without the kernel's device events, once a second: a player plugged in is found about as soon as the
    // user looks for it.
    return std::make_unique<PollingDeviceWatcher>(backend, std::chrono::seconds(1));
}
