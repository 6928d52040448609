#pragma once

#include <QtGlobal>

#include <cstdlib>

// What every fuzzer here shares: a failed promise stops the run where it happened, and Qt's warnings (a
// refused seek on every truncated input) are not printed, which would only slow the run.
namespace FuzzChecks {

inline void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

inline void quietMessages(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace FuzzChecks
