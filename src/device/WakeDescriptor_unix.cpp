#include "device/WakeDescriptor.h"

#include <cstdint>

#include <fcntl.h>
#include <unistd.h>

WakeDescriptor WakeDescriptor::open()
{
    int fds[2];
    if (::pipe(fds) != 0) {
        return {};
    }
    for (const int fd : fds) {
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    return {fds[0], fds[1]};
}

void WakeDescriptor::signal(int writeFd)
{
    const std::uint8_t one = 1;
    [[maybe_unused]] const auto written = ::write(writeFd, &one, sizeof one);
}

void WakeDescriptor::drain(int readFd)
{
    std::uint8_t buffer[64];
    while (::read(readFd, buffer, sizeof buffer) > 0) {
    }
}

void WakeDescriptor::close()
{
    for (const int fd : {readFd, writeFd}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    readFd = writeFd = -1;
}
