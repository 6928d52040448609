#include "app/SingleInstance.h"

QString SingleInstance::serverName(const QString& name, const QString&)
{
    // A named pipe: one name space for the whole machine, so the user's name keeps it per user.
    return name + QLatin1Char('-') + qEnvironmentVariable("USERNAME");
}
