#pragma once

#include <cstdint>

// The player's three configuration bytes, as the configuration commands carry them.
struct DeviceConfig
{
    // Bit 7: loop playback.
    std::uint8_t Config1 = 0;
    // Low nibble: partition mode (0 to 3 for 1, 2, 4 or 8 track slots); high nibble: the Default flag.
    std::uint8_t Config2 = 0;
    // A setting of the player's own; 60 by default.
    std::uint8_t Config3 = 0;

    static constexpr std::uint8_t kDefaultConfig3 = 60;

    // What a player answers when its settings were never written (or were erased) fails this, and so does a
    // partition mode that no radio button of the main window could show.
    bool isValid() const;
    static DeviceConfig defaults() { return {0, 0, kDefaultConfig3}; }
    // The bytes as the main window's controls give them: Config1 is the Loop bit alone, Config2 the
    // partition mode and the Default flag; Config3 is kept.
    static DeviceConfig fromControls(bool loop, int partitionMode, bool defaultFlag, std::uint8_t config3)
    {
        return {static_cast<std::uint8_t>(loop ? 0x80 : 0),
                static_cast<std::uint8_t>((partitionMode & 0x0F) | (defaultFlag ? 0x10 : 0)), config3};
    }

    bool loop() const { return (Config1 & 0x80) != 0; }
    int partitionMode() const { return Config2 & 0x0F; }
    int defaultFlag() const { return Config2 >> 4; }

    friend bool operator==(const DeviceConfig&, const DeviceConfig&) = default;
};
