#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// The options of zoffino-uhid-player.
struct VirtualPlayerOptions
{
    enum class Transport
    {
        Uhid,
        Gadget,
    };
    Transport transport = Transport::Uhid;
    // For the gadget: the USB device controller to bind to; empty for the first free one.
    std::string controller;
    // The serial number the player gives; empty for one of this process.
    std::string serial;
    // The flash image; empty for the one the program's simulated player uses.
    std::string imagePath;
    // What the player answers GET_TEXT with; empty keeps the firmware's own.
    std::string text;
    // The player drops off the bus at the first report the host sends after this many acknowledged block
    // writes; once in a run.
    std::optional<long> unplugAfter;
    // The player hangs at the first report the host sends after this many acknowledged block writes: it
    // stays on the bus but takes no report and answers nothing more.
    std::optional<long> hangAfter;
    // How long the player stays unplugged before it is plugged in again; nothing keeps it out.
    std::optional<std::chrono::milliseconds> replugAfter;
    // Written with the player's hidraw node once the kernel has made it, removed when the player goes.
    std::string readyFile;
    bool help = false;
    // Set when the arguments cannot be understood.
    std::string error;

    // Arguments without the program's own name.
    static VirtualPlayerOptions parse(const std::vector<std::string>& arguments);
    static std::string helpText(const std::string& program);
};
