#include "device/HidapiDevice.h"

#include <hidapi.h>

// hidapi 0.14 and later read the report descriptor on every system.
std::vector<std::uint8_t> HidapiDevice::reportDescriptor()
{
    std::vector<std::uint8_t> descriptor(HID_API_MAX_REPORT_DESCRIPTOR_SIZE);
    const int size = hid_get_report_descriptor(m_handle, descriptor.data(), descriptor.size());
    descriptor.resize(size > 0 ? static_cast<std::size_t>(size) : 0u);
    return descriptor;
}
