#pragma once

// kernel_tests given this as its only argument opens the player as the program does at start and prints
// what the user is told, then ends: a step a test runs under another user id.
inline constexpr const char* kOpenPlayerStep = "--open-player";
