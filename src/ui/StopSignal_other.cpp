#include "ui/StopSignal.h"

// No signal from outside asks a program here to end: its windows are closed by the system instead.
void StopSignal::onSignal(int) {}

bool StopSignal::install()
{
    return false;
}

void StopSignal::restore() {}
