#include "device/WakeDescriptor.h"

#include <cstdint>

#include <sys/eventfd.h>
#include <unistd.h>

WakeDescriptor WakeDescriptor::open()
{
    const int fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    return {fd, fd};
}

void WakeDescriptor::signal(int writeFd)
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(writeFd, &one, sizeof one);
}

void WakeDescriptor::drain(int readFd)
{
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(readFd, &count, sizeof count);
}

void WakeDescriptor::close()
{
    if (readFd >= 0) {
        ::close(readFd);
    }
    readFd = writeFd = -1;
}
