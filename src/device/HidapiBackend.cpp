#include "device/HidapiBackend.h"

#include "device/HidapiDevice.h"

#include <QString>

#include <hidapi.h>

#include <cerrno>
#include <set>

HidapiBackend::HidapiBackend()
{
    m_initialised = hid_init() == 0;
}

HidapiBackend::~HidapiBackend()
{
    if (m_initialised) {
        hid_exit();
    }
}

std::vector<HidDeviceInfo> HidapiBackend::enumerate()
{
    std::vector<HidDeviceInfo> result;
    if (!m_initialised) {
        return result;
    }
    hid_device_info* list = hid_enumerate(0, 0);
    // hidapi lists an interface once per usage pair; the path identifies it.
    std::set<std::string> seen;
    for (const hid_device_info* info = list; info; info = info->next) {
        if (!info->path || !seen.insert(info->path).second) {
            continue;
        }
        const QString serial =
            info->serial_number ? QString::fromWCharArray(info->serial_number).trimmed() : QString();
        result.push_back({info->path, info->vendor_id, info->product_id, serial.toStdString()});
    }
    hid_free_enumeration(list);
    return result;
}

std::unique_ptr<HidDevice> HidapiBackend::open(const std::string& path)
{
    errno = 0;
    hid_device* handle = m_initialised ? hid_open_path(path.c_str()) : nullptr;
    if (!handle) {
        m_lastError = errno != 0 ? static_cast<std::uint32_t>(errno) : 1u;
        return nullptr;
    }
    return std::make_unique<HidapiDevice>(handle, path);
}
