#include "app/OpenFailureAdvice.h"

#include "device/DeviceLink.h"

#include <cerrno>
#include <cstring>

bool OpenFailureAdvice::isPermission(std::uint32_t code)
{
    return code == EACCES || code == EPERM;
}

QString OpenFailureAdvice::forCode(std::uint32_t code)
{
    if (code == DeviceLink::kErrorNoMoreItems) {
        return tr("Nessun lettore Zoffino USB è collegato. Collegarlo: verrà riconosciuto "
                  "appena inserito, senza riavviare il programma.") +
               connectionSteps();
    }
    if (isPermission(code)) {
        return permissionAdvice();
    }
    return tr("Il lettore è collegato, ma non si è potuto aprire (%1). Scollegarlo e ricollegarlo.")
        .arg(QString::fromLocal8Bit(std::strerror(static_cast<int>(code))));
}

QString OpenFailureAdvice::notAPlayer(const QString& path, bool exists, const QStringList& players)
{
    const QString what = exists ? tr("--device %1: non è un lettore Zoffino USB.").arg(path)
                                : tr("--device %1: non esiste.").arg(path);
    if (players.isEmpty()) {
        return what + QLatin1Char('\n') + tr("Nessun lettore Zoffino USB è collegato.");
    }
    return what + QLatin1Char('\n') +
           tr("Lettori collegati: %1. Indicarne uno con --device, o togliere --device per usare il primo.")
               .arg(players.join(QStringLiteral(", ")));
}
