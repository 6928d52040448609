#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct uhid_event;

// A handle on the kernel's user-space HID transport, /dev/uhid: it makes at most one HID device at a time,
// which the kernel then presents like any other (hid-generic binds it, a hidraw node appears), hands over
// what the host sends that device as events, and takes the device's input reports.
// Every call returns at once: reading is meant for when poll() says the handle is readable.
class UhidDevice
{
public:
    static constexpr const char* kPath = "/dev/uhid";

    // What the kernel is told the device is.
    struct Identity
    {
        std::string name;
        std::string phys;
        std::string uniq;
        std::uint16_t bus = 0;
        std::uint32_t vendor = 0;
        std::uint32_t product = 0;
        std::uint32_t version = 0;
        std::vector<std::uint8_t> descriptor;
    };

    struct Event
    {
        enum class Type
        {
            // A driver took the device, or let it go again.
            Start,
            Stop,
            // Someone opened the device's node, or the last one closed it.
            Open,
            Close,
            // A report the host sends: bytes holds it, report ID first.
            Output,
            // The host asks for a report (answer with answerGetReport) or sends one through the control
            // pipe (answer with answerSetReport).
            GetReport,
            SetReport,
            Other,
        };
        Type type = Type::Other;
        // For GetReport and SetReport: the request the answer must name, the report number and its kind.
        std::uint32_t requestId = 0;
        std::uint8_t reportNumber = 0;
        bool outputReport = false;
        std::vector<std::uint8_t> bytes;
    };

    // Takes over an open handle on the node.
    explicit UhidDevice(int fd);
    UhidDevice(const UhidDevice&) = delete;
    UhidDevice& operator=(const UhidDevice&) = delete;
    // A device still there is taken off the bus first.
    ~UhidDevice();

    // Null when the node cannot be opened, with error telling why in words a user can act on.
    static std::unique_ptr<UhidDevice> open(const std::string& path, std::string& error);

    int fd() const { return m_fd; }
    bool created() const { return m_created; }

    bool create(const Identity& identity, std::string& error);
    bool destroy(std::string& error);
    // One input report, report ID first, exactly as long as the report descriptor declares it: the kernel
    // drops a shorter one.
    bool sendInput(std::span<const std::uint8_t> report, std::string& error);
    // An error code of 0 is success; the kernel turns any other into EIO for the caller.
    bool answerGetReport(std::uint32_t requestId, std::uint16_t errorCode, std::string& error);
    bool answerSetReport(std::uint32_t requestId, std::uint16_t errorCode, std::string& error);

    // The next event, or nothing with an empty error when none is waiting; nothing with error set when the
    // handle failed, after which it is of no further use.
    std::optional<Event> read(std::string& error);

private:
    bool write(const char* what, std::string& error);

    int m_fd = -1;
    bool m_created = false;
    // One event is larger than 4 KiB: kept off the stack and reused for every call.
    std::unique_ptr<uhid_event> m_event;
};
