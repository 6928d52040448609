#include "PlayerSystem.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool exists(const std::string& path)
{
    struct stat status = {};
    return ::stat(path.c_str(), &status) == 0;
}

namespace {

std::vector<std::string> namesIn(const std::string& folder, const std::string& prefix)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator entry(folder, ec), end; !ec && entry != end; entry.increment(ec)) {
        if (std::string name = entry->path().filename().string(); name.starts_with(prefix)) {
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

std::vector<std::string> usbDeviceControllers()
{
    return namesIn("/sys/class/udc", "");
}

std::vector<std::string> playerGadgets()
{
    return namesIn("/sys/kernel/config/usb_gadget", "zoffino-player-");
}
