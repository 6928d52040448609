#include "app/OpenFailureAdvice.h"

// Elsewhere the system gives a plugged-in HID device to the user, or its administrator decides.

QString OpenFailureAdvice::connectionSteps()
{
    return {};
}

QString OpenFailureAdvice::permissionAdvice()
{
    return tr("Il lettore è collegato, ma questo utente non ha il permesso di usarlo: chiedere "
              "all'amministratore del computer.");
}
