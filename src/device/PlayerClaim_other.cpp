#include "device/PlayerClaim.h"

// No lock on a device's node here: every claim is granted, as before there were claims.

PlayerClaim::PlayerClaim(const std::string&) {}

PlayerClaim::~PlayerClaim() = default;

bool PlayerClaim::taken(const std::string&)
{
    return false;
}
