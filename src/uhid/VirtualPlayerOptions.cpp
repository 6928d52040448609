#include "uhid/VirtualPlayerOptions.h"

#include <charconv>
#include <system_error>

namespace {

// A day: far beyond any use, and small enough that no deadline computed from it overflows.
constexpr long kLongestWaitMs = 24L * 60 * 60 * 1000;
// More block writes than any run of the player could see.
constexpr long kMostBlocks = 1L << 30;

// A whole decimal number from 0 to limit and nothing else: "12abc", "-1" or "" are refused, not read as
// whatever prefix happens to parse.
std::optional<long> count(const std::string& text, long limit)
{
    long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < 0 || value > limit) {
        return std::nullopt;
    }
    return value;
}

} // namespace

VirtualPlayerOptions VirtualPlayerOptions::parse(const std::vector<std::string>& arguments)
{
    VirtualPlayerOptions options;
    for (std::size_t i = 0; i < arguments.size() && options.error.empty(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('='); name.starts_with("--") && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        const bool known = name == "--image" || name == "--text" || name == "--unplug-after" ||
                           name == "--replug-after" || name == "--ready-file" || name == "--transport" ||
                           name == "--hang-after" || name == "--udc" || name == "--serial";
        if (!known) {
            options.error = "Unknown option: " + arguments[i];
            break;
        }
        if (!value) {
            if (i + 1 >= arguments.size()) {
                options.error = name + " needs a value";
                break;
            }
            value = arguments[++i];
        }
        if (name == "--image" || name == "--ready-file") {
            if (value->empty()) {
                options.error = name + " needs a file name";
                break;
            }
            (name == "--image" ? options.imagePath : options.readyFile) = *value;
        } else if (name == "--text") {
            options.text = *value;
        } else if (name == "--transport") {
            if (*value != "uhid" && *value != "gadget") {
                options.error = "--transport is uhid or gadget: " + *value;
            }
            options.transport = *value == "gadget" ? Transport::Gadget : Transport::Uhid;
        } else if (name == "--udc") {
            if (value->empty()) {
                options.error = "--udc needs the name of a USB device controller";
            }
            options.controller = *value;
        } else if (name == "--serial") {
            // The kernel's string descriptors take up to 126 characters; a line break would end the text
            // the host's HID core lists it in.
            if (value->empty() || value->size() > 126 || value->find('\n') != std::string::npos) {
                options.error = "--serial needs a serial number of 1 to 126 characters on one line";
            }
            options.serial = *value;
        } else if (name == "--unplug-after" || name == "--hang-after") {
            std::optional<long>& blocks = name == "--unplug-after" ? options.unplugAfter : options.hangAfter;
            blocks = count(*value, kMostBlocks);
            if (!blocks) {
                options.error = name + " needs a number of blocks, 0 or more: " + *value;
            }
        } else {
            const std::optional<long> ms = count(*value, kLongestWaitMs);
            if (!ms) {
                options.error = "--replug-after needs milliseconds, from 0 to a day: " + *value;
            } else {
                options.replugAfter = std::chrono::milliseconds(*ms);
            }
        }
    }
    if (options.error.empty() && options.replugAfter && !options.unplugAfter) {
        options.error =
            "--replug-after plugs the player in again after --unplug-after took it out: give both";
    }
    if (options.error.empty() && !options.controller.empty() && options.transport != Transport::Gadget) {
        options.error = "--udc names the controller of a USB gadget: give --transport=gadget";
    }
    return options;
}

std::string VirtualPlayerOptions::helpText(const std::string& program)
{
    return "Usage: " + program +
           " [options]\n"
           "Presents the simulated Zoffino USB player to this machine's kernel as a real HID device\n"
           "(vendor 115f, product 0230), so that ZoffinoUSB finds it without --simulate: through\n"
           "/dev/uhid, or as a USB device (a configfs gadget with the HID function) on a USB device\n"
           "controller, such as dummy_hcd's, which the host's usbhid driver then enumerates.\n"
           "Needs root (uhid: or read and write access to /dev/uhid). Stops on SIGTERM or SIGINT (Ctrl+C).\n"
           "\n"
           "  --transport NAME     uhid (default) or gadget: how the player reaches the kernel\n"
           "  --udc NAME           the gadget's controller in /sys/class/udc (default: the first free one)\n"
           "  --serial TEXT        the player's serial number (default: one of this process)\n"
           "  --image FILE         the player's 1 MiB flash image (default: the simulated player's)\n"
           "  --text TEXT          what the player says about itself\n"
           "  --unplug-after N     drop off the bus at the first report after N acknowledged block writes\n"
           "  --replug-after MS    after that, plug in again MS milliseconds later\n"
           "  --hang-after N       stop taking reports at the first one after N acknowledged block writes\n"
           "  --ready-file FILE    write the player's hidraw node to FILE once it is there\n"
           "  -h, --help           this text\n"
           "\n"
           "Prints \"ready\" once the device is there, \"unplugged\" when it drops off the bus and \"hung\" "
           "when\n"
           "it stops taking reports.\n";
}
