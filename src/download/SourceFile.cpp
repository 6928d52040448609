#include "download/SourceFile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
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
#endif

QString notRegular(const QString& name, const QString& kind)
{
    return QCoreApplication::translate("SourceFile",
                                       "\"%1\" non è un file audio ma %2: sceglierne uno normale.")
        .arg(name, kind);
}

QString openFailure(const QString& name, int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral(
                   "Il file \"%1\" non esiste: è stato spostato o cancellato? Sceglierne un altro.")
            .arg(name);
    case EACCES:
    case EPERM:
        return QCoreApplication::translate(
                   "SourceFile", "Non si ha il permesso di leggere il file \"%1\": controllarne i permessi o "
                                 "sceglierne un altro.")
            .arg(name);
    case EISDIR:
        return notRegular(name, QCoreApplication::translate("SourceFile", "una cartella"));
    default:
        return QCoreApplication::translate("SourceFile", "Impossibile aprire il file \"%1\" (%2).")
            .arg(name, QString::fromLocal8Bit(std::strerror(error)));
    }
}

} // namespace

SourceFile::SourceFile(QString path) : m_path(std::move(path)) {}

QString SourceFile::shownName() const
{
    return QDir::toNativeSeparators(m_path);
}

QString SourceFile::open()
{
#ifdef Q_OS_UNIX
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
#else
    const QFileInfo info(m_path);
    if (!info.exists()) {
        return openFailure(shownName(), ENOENT);
    }
    if (info.isDir()) {
        return openFailure(shownName(), EISDIR);
    }
    if (!info.isFile()) {
        return notRegular(shownName(), tr("un file speciale"));
    }
    m_file.setFileName(m_path);
    if (!m_file.open(QIODevice::ReadOnly)) {
        return m_file.error() == QFileDevice::PermissionsError ? openFailure(shownName(), EACCES)
                                                               : openFailure(shownName(), EIO);
    }
#endif
    m_openedSize = m_file.size();
    m_openedModified = m_file.fileTime(QFileDevice::FileModificationTime);
    return {};
}

QString SourceFile::readFailure()
{
    if (m_file.size() < m_openedSize) {
        return tr("Il file \"%1\" si è accorciato mentre veniva letto: il brano sul lettore è "
                  "incompleto. Ricaricarlo quando il file non cambia più.")
            .arg(shownName());
    }
    return tr("Errore di lettura del file \"%1\" (%2): il brano sul lettore è incompleto. "
              "Controllare il supporto e ricaricarlo.")
        .arg(shownName(), m_file.errorString());
}

bool SourceFile::changedSinceOpened()
{
    return m_file.size() != m_openedSize ||
           m_file.fileTime(QFileDevice::FileModificationTime) != m_openedModified;
}

QString SourceFile::changedMessage() const
{
    return tr("Il file \"%1\" è cambiato mentre veniva letto: il brano sul lettore può essere "
              "incompleto o mescolato. Ricaricarlo quando il file non cambia più.")
        .arg(shownName());
}
