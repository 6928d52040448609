#include "device/PlayerClaim.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// The node opened only to hold the lock: nothing is read through it, and a hidraw node keeps at most a few
// dozen reports for a reader that never reads. -1 where the path is no file of this system.
int openNode(const std::string& path)
{
    return path.empty() ? -1 : ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

} // namespace

PlayerClaim::PlayerClaim(const std::string& path) : m_fd(openNode(path))
{
    if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        // Any other failure leaves the player as unguarded as before there were claims.
        m_granted = errno != EWOULDBLOCK;
        ::close(m_fd);
        m_fd = -1;
    }
}

PlayerClaim::~PlayerClaim()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool PlayerClaim::taken(const std::string& path)
{
    const int fd = openNode(path);
    if (fd < 0) {
        return false;
    }
    const bool taken = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return taken;
}
