#pragma once

#include "device/HidDevice.h"
#include "sim/PlayerCore.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// An open handle on one of the simulated player's interfaces. It keeps the player's state alive by
// itself, so it stays safe to use (and fails with -1) after the SimulatedPlayer is gone.
class SimulatedPlayerHandle : public HidDevice
{
public:
    SimulatedPlayerHandle(std::shared_ptr<PlayerCore> core, PlayerCore::Port port, std::uint64_t session);

    int write(std::span<const std::uint8_t> report) override;
    int read(std::span<std::uint8_t> buffer, int timeoutMs) override;
    std::vector<std::uint8_t> reportDescriptor() override;

private:
    std::shared_ptr<PlayerCore> m_core;
    PlayerCore::Port m_port;
    // The plug-in session this handle was opened in; a later unplug ends it for good.
    std::uint64_t m_session;
};
