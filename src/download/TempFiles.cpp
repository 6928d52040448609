#include "download/TempFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kPrefix = QStringLiteral("zoffino-");

} // namespace

QString TempFiles::nameTemplate(const QString& folder)
{
    return QStringLiteral("%1/%2%3-XXXXXX").arg(folder, kPrefix).arg(QCoreApplication::applicationPid());
}

std::optional<qint64> TempFiles::ownerOf(const QString& fileName)
{
    // The letters QTemporaryFile and QTemporaryDir put in place of the Xs.
    static const QRegularExpression pattern(QStringLiteral("^zoffino-([1-9][0-9]{0,9})-[A-Za-z0-9]{6}$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return match.captured(1).toLongLong();
}

int TempFiles::removeLeftovers(const QString& folder)
{
    int removed = 0;
    const QDir dir(folder);
    const QStringList names = dir.entryList(
        {kPrefix + QLatin1Char('*')}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const std::optional<qint64> owner = ownerOf(name);
        const QString path = dir.filePath(name);
        if (!owner || !leftBehind(path, *owner)) {
            continue;
        }
        // A folder's own links are removed, never followed.
        const bool gone = QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path);
        removed += gone ? 1 : 0;
    }
    return removed;
}
