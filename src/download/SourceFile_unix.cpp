#include "download/SourceFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a file that is not a regular one is, in the user's words.
QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode)) {
        return QCoreApplication::translate("SourceFile", "una cartella");
    }
    if (S_ISFIFO(mode)) {
        return QCoreApplication::translate("SourceFile", "una pipe con nome (FIFO)");
    }
    if (S_ISSOCK(mode)) {
        return QCoreApplication::translate("SourceFile", "un socket");
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return QCoreApplication::translate("SourceFile", "un dispositivo");
    }
    return QCoreApplication::translate("SourceFile", "un file speciale");
}

} // namespace

QString SourceFile::openRegular()
{
    const QByteArray native = QFile::encodeName(m_path);
    // Looked at before it is opened: opening a device can have effects of its own, opening a FIFO waits
    // for a writer.
    struct stat before
    {};
    if (::stat(native.constData(), &before) != 0) {
        return openFailure(shownName(), errno);
    }
    if (!S_ISREG(before.st_mode)) {
        return notRegular(shownName(), kindOf(before.st_mode));
    }
    // Without waiting, and looked at again once open, in case the name now leads somewhere else.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return openFailure(shownName(), errno);
    }
    struct stat opened
    {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return notRegular(shownName(), kindOf(opened.st_mode));
    }
    // Reads of a regular file never wait; the flag was only for the opening.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!m_file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return openFailure(shownName(), EIO);
    }
    return {};
}
