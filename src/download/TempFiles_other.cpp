#include "download/TempFiles.h"

// Whether a process still runs is not asked here: what it may still be using is never removed.
bool TempFiles::leftBehind(const QString&, qint64)
{
    return false;
}
