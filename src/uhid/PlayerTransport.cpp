#include "uhid/PlayerTransport.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

std::string PlayerTransport::hidrawNodeOf(const std::vector<std::string>& ueventLines)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    // Devices come and go while the folder is walked: every step takes an error code instead of throwing.
    for (fs::directory_iterator device("/sys/bus/hid/devices", ec), end; !ec && device != end;
         device.increment(ec)) {
        std::ifstream uevent(device->path() / "uevent");
        std::size_t found = 0;
        for (std::string line; std::getline(uevent, line);) {
            found += static_cast<std::size_t>(std::count(ueventLines.begin(), ueventLines.end(), line));
        }
        if (found != ueventLines.size()) {
            continue;
        }
        std::error_code rawError;
        for (fs::directory_iterator raw(device->path() / "hidraw", rawError); !rawError && raw != end;
             raw.increment(rawError)) {
            std::string node = "/dev/" + raw->path().filename().string();
            struct stat status = {};
            if (::stat(node.c_str(), &status) == 0 && S_ISCHR(status.st_mode)) {
                return node;
            }
        }
    }
    return {};
}
