#pragma once

#include "device/HidBackend.h"
#include "sim/FaultInjectingPlayer.h"

#include <memory>
#include <string>
#include <vector>

// Several simulated players plugged into one machine, each under a path of its own and with the serial
// number the test gives it (none when empty); the first one's keyboard is listed before them all.
class PlayerRack : public HidBackend
{
public:
    FaultInjectingPlayer& add(std::string path, std::string serial = {});
    // The rack the tests of a choice use: "sim:1" saying "Lettore primo", and "sim:2" saying "Lettore
    // secondo" with the serial number "ZU-0002".
    static std::unique_ptr<PlayerRack> twoPlayers(FaultInjectingPlayer*& first,
                                                  FaultInjectingPlayer*& second);

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const std::string& path) override;
    std::uint32_t lastError() const override { return m_lastError; }

private:
    struct Slot
    {
        std::string path;
        std::string serial;
        std::unique_ptr<FaultInjectingPlayer> player;
    };

    std::vector<Slot> m_slots;
    std::uint32_t m_lastError = 0;
};
