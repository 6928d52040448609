#include "ui/StopSignal.h"

#include <array>
#include <cerrno>
#include <cstdlib>

namespace {

constexpr std::array kSignals{SIGTERM, SIGHUP};
std::array<struct sigaction, kSignals.size()> s_previous{};

} // namespace

void StopSignal::onSignal(int signal)
{
    // Only what is safe in a handler: a flag, a write, _Exit.
    if (s_received != 0) {
        std::_Exit(128 + signal);
    }
    s_received = 1;
    const int savedErrno = errno;
    WakeDescriptor::signal(s_wakeFd);
    errno = savedErrno;
}

bool StopSignal::install()
{
    struct sigaction action
    {};
    action.sa_handler = &StopSignal::onSignal;
    sigemptyset(&action.sa_mask);
    // The calls the signal interrupts go on: what it asks for is done by the event loop.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        sigaction(kSignals[i], &action, &s_previous[i]);
    }
    return true;
}

void StopSignal::restore()
{
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        sigaction(kSignals[i], &s_previous[i], nullptr);
    }
}
