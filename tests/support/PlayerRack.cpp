#include "PlayerRack.h"

#include <cerrno>

FaultInjectingPlayer& PlayerRack::add(std::string path, std::string serial)
{
    m_slots.push_back({std::move(path), std::move(serial), std::make_unique<FaultInjectingPlayer>()});
    return *m_slots.back().player;
}

std::unique_ptr<PlayerRack> PlayerRack::twoPlayers(FaultInjectingPlayer*& first,
                                                   FaultInjectingPlayer*& second)
{
    auto rack = std::make_unique<PlayerRack>();
    first = &rack->add("sim:1");
    second = &rack->add("sim:2", "ZU-0002");
    first->setText("Lettore primo");
    second->setText("Lettore secondo");
    return rack;
}

std::vector<HidDeviceInfo> PlayerRack::enumerate()
{
    std::vector<HidDeviceInfo> list;
    for (const Slot& slot : m_slots) {
        for (HidDeviceInfo& info : slot.player->enumerate()) {
            if (info.path == SimulatedPlayer::kPlayerPath) {
                list.push_back({slot.path, info.vendorId, info.productId, slot.serial});
            } else if (&slot == &m_slots.front()) {
                list.push_back(std::move(info));
            }
        }
    }
    return list;
}

std::unique_ptr<HidDevice> PlayerRack::open(const std::string& path)
{
    for (const Slot& slot : m_slots) {
        const bool keyboard = path == SimulatedPlayer::kOtherPath && &slot == &m_slots.front();
        if (slot.path == path || keyboard) {
            std::unique_ptr<HidDevice> handle =
                slot.player->open(keyboard ? path : SimulatedPlayer::kPlayerPath);
            m_lastError = slot.player->lastError();
            return handle;
        }
    }
    m_lastError = ENOENT;
    return nullptr;
}
