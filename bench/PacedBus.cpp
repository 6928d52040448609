#include "PacedBus.h"

#include "device/HidBackend.h"
#include "sim/SimulatedPlayer.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace PacedBus {

double busAloneSeconds(HidBackend& player, int blocks)
{
    const std::unique_ptr<HidDevice> writer = player.open(SimulatedPlayer::kPlayerPath);
    const std::unique_ptr<HidDevice> reader = player.open(SimulatedPlayer::kPlayerPath);
    std::array<std::uint8_t, 64> report{};
    std::array<std::uint8_t, 64> input{};
    report[0] = 2;
    const auto start = std::chrono::steady_clock::now();
    for (int block = 0; block < blocks; ++block) {
        const std::uint32_t address = 0x40000 + static_cast<std::uint32_t>(block % 1024) * 64;
        report[1] = 4;
        writer->write(report);
        writer->write(report);
        report[1] = 5;
        report[2] = address & 0xFF;
        report[3] = (address >> 8) & 0xFF;
        report[4] = (address >> 16) & 0xFF;
        report[5] = (address & 0xFFFF) == 0;
        writer->write(report);
        if (reader->read(input, 1000) <= 0) {
            std::fprintf(stderr, "the simulated player did not acknowledge\n");
            std::exit(1);
        }
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace PacedBus
