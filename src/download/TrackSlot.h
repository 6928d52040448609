#pragma once

#include <cstdint>
#include <optional>

// Where a track lives in the player's memory: the partition mode divides the 16 sectors of 64 KiB into 1, 2,
// 4 or 8 equal slots, and a slot holds a 128-byte header, the samples, and end marks.
struct TrackSlot
{
    std::uint32_t start = 0;
    // The slot's size less 129 bytes: what the download is given as the slot's length.
    std::uint32_t length = 0;

    static constexpr std::uint32_t kHeaderSize = 128;

    // No slot for a partition mode outside 0 to 3. The track index wraps within the mode's slots (in the
    // two-slot mode every index but 0 is the second slot).
    static std::optional<TrackSlot> forTrack(int partitionMode, int track);

    friend bool operator==(const TrackSlot&, const TrackSlot&) = default;
};
