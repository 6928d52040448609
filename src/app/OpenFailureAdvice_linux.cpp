#include "app/OpenFailureAdvice.h"

#include <QFileInfo>

// On Linux the player's node belongs to root until a udev rule gives it to the user at the machine.

QString OpenFailureAdvice::connectionSteps()
{
    return tr("\n\nSu Linux serve anche, una volta sola, la regola udev che dà il lettore all'utente. ") +
           udevSteps();
}

QString OpenFailureAdvice::permissionAdvice()
{
    return tr("Il lettore è collegato, ma questo utente non ha il permesso di usarlo.\n\n") + udevSteps();
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
