#include "device/PollingDeviceWatcher.h"

#include <algorithm>

PollingDeviceWatcher::PollingDeviceWatcher(HidBackend& backend, std::chrono::milliseconds interval)
    : m_backend(backend), m_last(players())
{
    connect(&m_timer, &QTimer::timeout, this, &PollingDeviceWatcher::look);
    m_timer.start(interval);
}

std::vector<std::string> PollingDeviceWatcher::players() const
{
    std::vector<std::string> paths;
    for (const HidDeviceInfo& info : m_backend.players()) {
        paths.push_back(info.path);
    }
    return paths;
}

void PollingDeviceWatcher::look()
{
    std::vector<std::string> now = players();
    if (now == m_last) {
        return;
    }
    std::vector<std::string> removed;
    std::copy_if(m_last.begin(), m_last.end(), std::back_inserter(removed), [&now](const std::string& path) {
        return std::find(now.begin(), now.end(), path) == now.end();
    });
    m_last = std::move(now);
    emit changed(removed);
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
