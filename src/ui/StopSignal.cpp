#include "ui/StopSignal.h"

#include <QSocketNotifier>

volatile std::sig_atomic_t StopSignal::s_received = 0;
int StopSignal::s_wakeFd = -1;

StopSignal::StopSignal() : m_wake(WakeDescriptor::open())
{
    if (m_wake.readFd < 0) {
        return;
    }
    s_wakeFd = m_wake.writeFd;
    if (!install()) {
        s_wakeFd = -1;
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_wake.readFd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        WakeDescriptor::drain(m_wake.readFd);
        // Told once: a second signal never reaches here, it has ended the program.
        m_notifier->setEnabled(false);
        emit received();
    });
}

StopSignal::~StopSignal()
{
    if (m_notifier) {
        restore();
    }
    m_notifier.reset();
    s_wakeFd = -1;
    m_wake.close();
    s_received = 0;
}
