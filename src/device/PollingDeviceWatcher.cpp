#include "device/PollingDeviceWatcher.h"

#include "device/Protocol.h"

PollingDeviceWatcher::PollingDeviceWatcher(HidBackend& backend, std::chrono::milliseconds interval)
    : m_backend(backend), m_last(players())
{
    connect(&m_timer, &QTimer::timeout, this, &PollingDeviceWatcher::look);
    m_timer.start(interval);
}

std::vector<std::string> PollingDeviceWatcher::players() const
{
    std::vector<std::string> paths;
    for (const HidDeviceInfo& info : m_backend.enumerate()) {
        if (info.vendorId == Protocol::kVendorId && info.productId == Protocol::kProductId) {
            paths.push_back(info.path);
        }
    }
    return paths;
}

void PollingDeviceWatcher::look()
{
    std::vector<std::string> now = players();
    if (now != m_last) {
        m_last = std::move(now);
        emit changed();
    }
}

void PollingDeviceWatcher::setPaused(bool paused)
{
    if (paused) {
        m_timer.stop();
        return;
    }
    m_timer.start();
    // What came or went meanwhile is reported now.
    look();
}
