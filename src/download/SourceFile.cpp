#include "download/SourceFile.h"

#include <QDir>

#include <cerrno>
#include <cstring>

QString SourceFile::notRegular(const QString& name, const QString& kind)
{
    return tr("\"%1\" non è un file audio ma %2: sceglierne uno normale.").arg(name, kind);
}

QString SourceFile::openFailure(const QString& name, int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return tr("Il file \"%1\" non esiste: è stato spostato o cancellato? Sceglierne un altro.").arg(name);
    case EACCES:
    case EPERM:
        return tr("Non si ha il permesso di leggere il file \"%1\": controllarne i permessi o "
                  "sceglierne un altro.")
            .arg(name);
    case EISDIR:
        return notRegular(name, tr("una cartella"));
    default:
        return tr("Impossibile aprire il file \"%1\" (%2).")
            .arg(name, QString::fromLocal8Bit(std::strerror(error)));
    }
}

SourceFile::SourceFile(QString path) : m_path(std::move(path)) {}

QString SourceFile::shownName() const
{
    return QDir::toNativeSeparators(m_path);
}

QString SourceFile::open()
{
    if (QString refused = openRegular(); !refused.isEmpty()) {
        return refused;
    }
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
