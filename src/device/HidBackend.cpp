#include "device/HidBackend.h"

#include "device/Protocol.h"

#include <filesystem>
#include <system_error>

std::vector<HidDeviceInfo> HidBackend::players()
{
    std::vector<HidDeviceInfo> result;
    for (HidDeviceInfo& info : enumerate()) {
        if (info.vendorId == Protocol::kVendorId && info.productId == Protocol::kProductId) {
            result.push_back(std::move(info));
        }
    }
    return result;
}

std::optional<HidDeviceInfo> HidBackend::player(const std::string& path)
{
    if (path.empty()) {
        return std::nullopt;
    }
    std::vector<HidDeviceInfo> present = players();
    for (HidDeviceInfo& info : present) {
        if (info.path == path) {
            return std::move(info);
        }
    }
    // Only a name on disk can be a link; the comparison is of the nodes both names end at.
    std::error_code error;
    const std::filesystem::path node = std::filesystem::canonical(path, error);
    if (error) {
        return std::nullopt;
    }
    for (HidDeviceInfo& info : present) {
        std::error_code infoError;
        if (std::filesystem::canonical(info.path, infoError) == node && !infoError) {
            return std::move(info);
        }
    }
    return std::nullopt;
}
