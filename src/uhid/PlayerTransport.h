#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// How the virtual player reaches this machine's kernel: a device made through /dev/uhid, or a USB gadget on
// a device controller. The player's loop (VirtualPlayer) sees only this: a handle to poll, the host's output
// reports, and input reports to hand back.
class PlayerTransport
{
public:
    // What the kernel is told the player is.
    struct Identity
    {
        std::string manufacturer;
        std::string product;
        std::string serial;
        std::uint16_t vendor = 0;
        std::uint16_t productId = 0;
        std::uint16_t version = 0;
        std::vector<std::uint8_t> descriptor;
        // Of every report either way, report ID included.
        std::size_t reportLength = 0;
    };

    struct Event
    {
        enum class Type
        {
            // A report the host sent, report ID first.
            Output,
            // The kernel's HID driver took the player, or let it go again.
            DriverStarted,
            DriverStopped,
        };
        Type type = Type::Output;
        std::vector<std::uint8_t> report;
    };

    enum class Sent
    {
        Done,
        // The way to the host holds a report still: try again once the handle polls writable.
        Busy,
        // No host is there to take it (not yet configured, or gone): the report is lost, as on a real bus.
        Dropped,
        Failed,
    };

    virtual ~PlayerTransport() = default;

    // The handle to poll; -1 while there is none.
    virtual int fd() const = 0;
    virtual bool plugIn(const Identity& identity, std::string& error) = 0;
    // Takes the player off the bus; nothing to do when it is not on it.
    virtual bool unplug(std::string& error) = 0;
    virtual bool pluggedIn() const = 0;
    // True when the kernel says through DriverStarted that a driver took the player; otherwise its node is
    // looked for as soon as it is plugged in.
    virtual bool reportsDriver() const = 0;
    // The next event, or nothing with an empty error when none is waiting; nothing with error set when the
    // handle failed.
    virtual std::optional<Event> read(std::string& error) = 0;
    // One input report, report ID first, of the identity's report length.
    virtual Sent sendInput(std::span<const std::uint8_t> report, std::string& error) = 0;
    // The player's hidraw node once the kernel has made it and its /dev entry exists; empty until then.
    virtual std::string findNode() const = 0;
    // Which module to look for when no node came.
    virtual std::string missingNodeHint() const = 0;

protected:
    // The hidraw node of the HID device whose uevent holds every one of the lines given.
    static std::string hidrawNodeOf(const std::vector<std::string>& ueventLines);
};
