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
    static constexpr int kSampleRate = 22050;

    // The sample bytes a download puts into a slot given this length: whole 64-byte blocks after the header,
    // the last one ending at or past the length.
    static std::uint32_t capacityFor(std::uint32_t length);
    std::uint32_t capacity() const { return capacityFor(length); }
    // One past the slot's last byte: the next slot's start.
    std::uint32_t end() const { return start + size(); }

    // The seconds of sound the slot holds at the player's rate.
    double seconds() const { return static_cast<double>(capacity()) / kSampleRate; }
    // The slot's whole size, header and end mark included.
    std::uint32_t size() const { return length + kHeaderSize + 1; }
    // Which slot of its partition this is, from 0, and how many slots the partition has.
    int index() const { return static_cast<int>(start / size()); }
    int count() const;
    // How many slots a partition mode makes (1, 2, 4 or 8); 0 for a mode outside 0 to 3.
    static int countFor(int partitionMode);
    // The seconds a slot of the partition holds; 0 for a mode outside 0 to 3.
    static double secondsFor(int partitionMode);
    // The partition mode that makes count slots; nullopt for a count other than 1, 2, 4 or 8.
    static std::optional<int> modeForCount(int count);

    // No slot for a partition mode outside 0 to 3. The track index wraps within the mode's slots (in the
    // two-slot mode every index but 0 is the second slot).
    static std::optional<TrackSlot> forTrack(int partitionMode, int track);

    friend bool operator==(const TrackSlot&, const TrackSlot&) = default;
};
