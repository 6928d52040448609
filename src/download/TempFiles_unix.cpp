#include "download/TempFiles.h"

#include <QFile>

#include <cerrno>
#include <limits>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

bool TempFiles::leftBehind(const QString& path, qint64 owner)
{
    if (owner <= 0 || owner > std::numeric_limits<pid_t>::max()) {
        return false;
    }
    struct stat entry
    {};
    if (::lstat(QFile::encodeName(path).constData(), &entry) != 0 || entry.st_uid != ::getuid() ||
        !(S_ISREG(entry.st_mode) || S_ISDIR(entry.st_mode))) {
        return false;
    }
    // EPERM is a process that runs under another user: alive.
    return ::kill(static_cast<pid_t>(owner), 0) != 0 && errno == ESRCH;
}
