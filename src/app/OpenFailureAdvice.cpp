#include "app/OpenFailureAdvice.h"

#include "device/DeviceLink.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>

bool OpenFailureAdvice::isPermission(std::uint32_t code)
{
    return code == EACCES || code == EPERM;
}

QString OpenFailureAdvice::udevSteps()
{
    // Where a package puts the rule; a rule already there only needs to be loaded and the player replugged.
    for (const char* installed :
         {"/usr/lib/udev/rules.d/70-zoffino.rules", "/lib/udev/rules.d/70-zoffino.rules",
          "/etc/udev/rules.d/70-zoffino.rules"}) {
        if (QFileInfo::exists(QString::fromLatin1(installed))) {
            return tr("La regola udev è installata (%1): caricarla in un terminale con\n"
                      "    sudo udevadm control --reload\n"
                      "    sudo udevadm trigger\n"
                      "poi scollegare e ricollegare il lettore.")
                .arg(QString::fromLatin1(installed));
        }
    }
    return tr("Installare una volta la regola udev, in un terminale:\n"
              "    echo '%1' | sudo tee /etc/udev/rules.d/70-zoffino.rules\n"
              "    sudo udevadm control --reload\n"
              "    sudo udevadm trigger\n"
              "poi scollegare e ricollegare il lettore.")
        .arg(QString::fromLatin1(kUdevRule));
}

QString OpenFailureAdvice::forCode(std::uint32_t code)
{
    if (code == DeviceLink::kErrorNoMoreItems) {
        QString text = tr("Nessun lettore Zoffino USB è collegato. Collegarlo: verrà riconosciuto "
                          "appena inserito, senza riavviare il programma.");
#ifdef Q_OS_LINUX
        text += tr("\n\nSu Linux serve anche, una volta sola, la regola udev che dà il lettore "
                   "all'utente. ") +
                udevSteps();
#endif
        return text;
    }
    if (isPermission(code)) {
#ifdef Q_OS_LINUX
        return tr("Il lettore è collegato, ma questo utente non ha il permesso di usarlo.\n\n") + udevSteps();
#else
        return QStringLiteral(
            "Il lettore è collegato, ma questo utente non ha il permesso di usarlo: chiedere "
            "all'amministratore del computer.");
#endif
    }
    return QStringLiteral(
               "Il lettore è collegato, ma non si è potuto aprire (%1). Scollegarlo e ricollegarlo.")
        .arg(QString::fromLocal8Bit(std::strerror(static_cast<int>(code))));
}
