#include "download/SourceFile.h"

#include <QFileInfo>

#include <cerrno>

// Without stat and O_NONBLOCK the kind of file is asked of Qt before it is opened.
QString SourceFile::openRegular()
{
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
    return {};
}
