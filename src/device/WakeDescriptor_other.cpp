#include "device/WakeDescriptor.h"

// No descriptor here: the pump wakes through Qt's own cross-thread call instead.
WakeDescriptor WakeDescriptor::open()
{
    return {};
}

void WakeDescriptor::signal(int) {}

void WakeDescriptor::drain(int) {}

void WakeDescriptor::close() {}
