#pragma once

#include <string>

// A program's hold on one player for as long as a download runs. Another program's commands to the same
// player would fall between the download's reports, and the player's answers to them would be taken for
// the acknowledgements of blocks; two downloads at once would write each other's blocks into both tracks.
// The hold is an advisory lock on the player's node, which the system lets go of when the program ends,
// whoever it runs as. Where there is no node to lock (the simulated player) or no such lock (one file per
// system), every claim is granted and no player is ever taken.
class PlayerClaim
{
public:
    // Claims the player at path; an empty path (no player open) is granted.
    explicit PlayerClaim(const std::string& path);
    ~PlayerClaim();
    PlayerClaim(const PlayerClaim&) = delete;
    PlayerClaim& operator=(const PlayerClaim&) = delete;

    // False when another claim holds the player.
    bool granted() const { return m_granted; }

    // Whether a claim holds the player at path now. A program that holds one itself is told so too: it
    // asks only while it runs no download.
    static bool taken(const std::string& path);

private:
    int m_fd = -1;
    bool m_granted = true;
};
