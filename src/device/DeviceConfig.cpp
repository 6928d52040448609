#include "device/DeviceConfig.h"

bool DeviceConfig::isValid() const
{
    const auto unset = [](std::uint8_t value) {
        return value == 0 || value == 0xFF;
    };
    if (unset(Config2) || unset(Config3)) {
        return false;
    }
    // A partition nibble above 3 would leave the main window with no partition selected, which then
    // refuses every download; such a player is reset like one that was never configured.
    return partitionMode() <= 3;
}
