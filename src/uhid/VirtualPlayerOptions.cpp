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
        const bool known = name == "--image" || name == "--text" || name == "--serial" ||
                           name == "--unplug-after" || name == "--replug-after" || name == "--ready-file";
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
        } else if (name == "--serial") {
            options.serial = *value;
        } else if (name == "--unplug-after") {
            options.unplugAfter = count(*value, kMostBlocks);
            if (!options.unplugAfter) {
                options.error = "--unplug-after needs a number of blocks, 0 or more: " + *value;
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
    return options;
}

std::string VirtualPlayerOptions::helpText(const std::string& program)
{
    return "Usage: " + program +
           " [options]\n"
           "Presents the simulated Zoffino USB player to this machine's kernel as a real HID device\n"
           "(vendor 115f, product 0230) through /dev/uhid, so that ZoffinoUSB finds it without --simulate.\n"
           "Needs root, or read and write access to /dev/uhid. Stops on SIGTERM or SIGINT (Ctrl+C).\n"
           "\n"
           "  --image FILE         the player's 1 MiB flash image (default: the simulated player's)\n"
           "  --text TEXT          what the player says about itself\n"
           "  --serial TEXT        the serial number the device gives the system (default: none)\n"
           "  --unplug-after N     drop off the bus at the first report after N acknowledged block writes\n"
           "  --replug-after MS    after that, plug in again MS milliseconds later\n"
           "  --ready-file FILE    write the player's hidraw node to FILE once it is there\n"
           "  -h, --help           this text\n"
           "\n"
           "Prints \"ready\" once the device is there and \"unplugged\" when it drops off the bus.\n";
}
