#include "app/SingleInstance.h"

#include <QDir>

QString SingleInstance::serverName(const QString& name, const QString& folder)
{
    // A socket in the user's own runtime folder, which nobody else can reach.
    return QDir(folder).filePath(name + QStringLiteral(".socket"));
}
