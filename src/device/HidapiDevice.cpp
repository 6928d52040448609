#include "device/HidapiDevice.h"

#include <hidapi.h>

#include <QString>

#if defined(__linux__) && HID_API_VERSION < HID_API_MAKE_VERSION(0, 14, 0)
#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

HidapiDevice::HidapiDevice(hid_device* handle, std::string path) : m_handle(handle), m_path(std::move(path))
{}

HidapiDevice::~HidapiDevice()
{
    hid_close(m_handle);
}

int HidapiDevice::write(std::span<const std::uint8_t> report)
{
    return hid_write(m_handle, report.data(), report.size());
}

int HidapiDevice::read(std::span<std::uint8_t> buffer, int timeoutMs)
{
    return hid_read_timeout(m_handle, buffer.data(), buffer.size(), timeoutMs);
}

std::vector<std::uint8_t> HidapiDevice::reportDescriptor()
{
#if HID_API_VERSION >= HID_API_MAKE_VERSION(0, 14, 0)
    std::vector<std::uint8_t> descriptor(HID_API_MAX_REPORT_DESCRIPTOR_SIZE);
    const int size = hid_get_report_descriptor(m_handle, descriptor.data(), descriptor.size());
    descriptor.resize(size > 0 ? static_cast<std::size_t>(size) : 0u);
    return descriptor;
#elif defined(__linux__)
    // hidapi 0.13 has no call for it; the hidraw node that it opened answers the same question.
    std::vector<std::uint8_t> descriptor;
    const int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return descriptor;
    }
    int size = 0;
    hidraw_report_descriptor raw{};
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) == 0 && size > 0 && size <= HID_MAX_DESCRIPTOR_SIZE) {
        raw.size = static_cast<__u32>(size);
        if (::ioctl(fd, HIDIOCGRDESC, &raw) == 0) {
            descriptor.assign(raw.value, raw.value + size);
        }
    }
    ::close(fd);
    return descriptor;
#else
    return {};
#endif
}

std::string HidapiDevice::errorText() const
{
    const wchar_t* text = hid_error(m_handle);
    return text ? QString::fromWCharArray(text).toStdString() : std::string();
}
