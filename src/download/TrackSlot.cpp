#include "download/TrackSlot.h"

#include "device/Protocol.h"

#include <algorithm>

std::optional<TrackSlot> TrackSlot::forTrack(int partitionMode, int track)
{
    std::uint32_t firstSector = 0;
    std::uint32_t sectors = 0;
    switch (partitionMode) {
    case 0:
        sectors = 16;
        break;
    case 1:
        sectors = 8;
        firstSector = track != 0 ? 8 : 0;
        break;
    case 2:
        sectors = 4;
        firstSector = static_cast<std::uint32_t>(track & 3) * 4;
        break;
    case 3:
        sectors = 2;
        firstSector = static_cast<std::uint32_t>(track & 7) * 2;
        break;
    default:
        return std::nullopt;
    }
    return TrackSlot{firstSector * Protocol::kSectorSize,
                     sectors * Protocol::kSectorSize - (kHeaderSize + 1)};
}

std::uint32_t TrackSlot::capacityFor(std::uint32_t length)
{
    // The largest length a download takes; the address bits above it are never sent.
    constexpr std::uint32_t kMaxLength = 0xFFFFF;
    constexpr auto kBlock = static_cast<std::uint32_t>(Protocol::kBlockSize);
    const std::uint32_t limit = std::min(length, kMaxLength);
    const std::uint32_t blocks = limit > kHeaderSize ? (limit - kHeaderSize + kBlock - 1) / kBlock : 0;
    return blocks * kBlock;
}

int TrackSlot::count() const
{
    return static_cast<int>(Protocol::kMemorySize / size());
}

int TrackSlot::countFor(int partitionMode)
{
    return partitionMode >= 0 && partitionMode <= 3 ? 1 << partitionMode : 0;
}

double TrackSlot::secondsFor(int partitionMode)
{
    const std::optional<TrackSlot> slot = forTrack(partitionMode, 0);
    return slot ? slot->seconds() : 0.0;
}

std::optional<int> TrackSlot::modeForCount(int count)
{
    for (int mode = 0; mode <= 3; ++mode) {
        if (countFor(mode) == count) {
            return mode;
        }
    }
    return std::nullopt;
}
