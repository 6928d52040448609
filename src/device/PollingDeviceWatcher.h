#pragma once

#include "device/DeviceWatcher.h"
#include "device/HidBackend.h"

#include <QTimer>

#include <chrono>
#include <string>
#include <vector>

// Looks at the backend's list of players now and then and reports when it differs from the last look: for
// platforms without device events, and for the simulated player.
class PollingDeviceWatcher : public DeviceWatcher
{
    Q_OBJECT

public:
    PollingDeviceWatcher(HidBackend& backend, std::chrono::milliseconds interval);

    void setPaused(bool paused) override;

private:
    std::vector<std::string> players() const;
    void look();

    HidBackend& m_backend;
    QTimer m_timer;
    std::vector<std::string> m_last;
};
