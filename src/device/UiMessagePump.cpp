#include "device/UiMessagePump.h"

#include "device/UiMessageQueue.h"

#include <QMetaObject>
#include <QSocketNotifier>

UiMessagePump::UiMessagePump(UiMessageQueue& queue, QObject* parent)
    : QObject(parent), m_queue(queue), m_wake(WakeDescriptor::open())
{
    if (m_wake.readFd >= 0) {
        m_notifier = std::make_unique<QSocketNotifier>(m_wake.readFd, QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, &UiMessagePump::onWake);
        const int fd = m_wake.writeFd;
        m_queue.setWakeCallback([fd] { WakeDescriptor::signal(fd); });
    } else {
        // No descriptor to wake on: fall back to Qt's own cross-thread call.
        m_queue.setWakeCallback(
            [this] { QMetaObject::invokeMethod(this, &UiMessagePump::onWake, Qt::QueuedConnection); });
    }
}

UiMessagePump::~UiMessagePump()
{
    // Withdraw the callback first: after this no posting thread can reach the descriptor being closed.
    m_queue.setWakeCallback(nullptr);
    m_notifier.reset();
    m_wake.close();
}

void UiMessagePump::onWake()
{
    if (m_wake.readFd >= 0) {
        WakeDescriptor::drain(m_wake.readFd);
    }
    m_queue.wakeHandled();
    m_queue.dispatchPending();
}
