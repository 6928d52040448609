#include "download/TrackSlot.h"
#include "device/Protocol.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(TrackSlot, EveryModeAndWrappingTrackIndexes)
{
    struct Case
    {
        int mode, track;
        std::uint32_t start, length;
    };
    const Case cases[] = {
        {0, 0, 0x00000, 0xFFF7F},  {0, 9, 0x00000, 0xFFF7F}, {1, 0, 0x00000, 0x7FF7F},
        {1, 1, 0x80000, 0x7FF7F},  {1, 7, 0x80000, 0x7FF7F}, {2, 3, 0xC0000, 0x3FF7F},
        {2, 6, 0x80000, 0x3FF7F},  {3, 5, 0xA0000, 0x1FF7F}, {3, 7, 0xE0000, 0x1FF7F},
        {3, 13, 0xA0000, 0x1FF7F},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TrackSlot::forTrack(c.mode, c.track), (TrackSlot{c.start, c.length}))
            << "mode " << c.mode << " track " << c.track;
    }
    EXPECT_FALSE(TrackSlot::forTrack(-1, 0));
    EXPECT_FALSE(TrackSlot::forTrack(4, 0));
}

// What the windows and the command line show and check a partition by: how many tracks, how long each,
// which one a slot is.
TEST(TrackSlot, EachModesCountSecondsAndTheLastSlotsPlace)
{
    struct Case
    {
        int mode, count;
        double seconds; // as the window shows them, to a tenth
    };
    const Case cases[] = {{0, 1, 47.5}, {1, 2, 23.8}, {2, 4, 11.9}, {3, 8, 5.9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(TrackSlot::countFor(c.mode), c.count);
        EXPECT_EQ(TrackSlot::modeForCount(c.count), c.mode);
        EXPECT_EQ(std::round(TrackSlot::secondsFor(c.mode) * 10) / 10, c.seconds);

        const TrackSlot last = *TrackSlot::forTrack(c.mode, c.count - 1);
        EXPECT_EQ(last.index(), c.count - 1);
        EXPECT_EQ(last.count(), c.count);
        EXPECT_EQ(last.size() * static_cast<std::uint32_t>(c.count), Protocol::kMemorySize);
        EXPECT_EQ(last.end(), Protocol::kMemorySize) << "the last slot ends with the memory";
        EXPECT_EQ(last.seconds(), TrackSlot::secondsFor(c.mode));
    }
    for (const int mode : {-1, 4}) {
        EXPECT_EQ(TrackSlot::countFor(mode), 0) << mode;
        EXPECT_EQ(TrackSlot::secondsFor(mode), 0.0) << mode;
    }
    for (const int count : {0, 3, 16}) {
        EXPECT_FALSE(TrackSlot::modeForCount(count)) << count;
    }
}

} // namespace
