#include "device/HidapiDevice.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

// hidapi before 0.14 has no call for it; the hidraw node that it opened answers the same question.
std::vector<std::uint8_t> HidapiDevice::reportDescriptor()
{
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
}
