#pragma once

// How loading a file into a track slot ended. The numbers are those the program has always given for them.
enum class LoadResult
{
    Done = 0,
    // The file is not one the player can take.
    Refused = -1,
    // The player stopped answering during the download.
    DeviceFailed = -3,
    // The file could not be opened, read or converted, or changed while it was read.
    FileFailed = -4,
    // Another download is under way, in this program or, on the same player, in another one.
    Busy = -5,
    // A question was declined, or the work stopped, before anything was sent.
    Cancelled = -6,
    // The user stopped the download; the slot holds the part sent and is closed.
    Stopped = -7,
};

// Whether the player still holds what it held before: nothing of the file was sent.
inline bool nothingSent(LoadResult result)
{
    return result == LoadResult::Refused || result == LoadResult::Busy || result == LoadResult::Cancelled;
}
