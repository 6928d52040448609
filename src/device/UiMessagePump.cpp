#include "device/UiMessagePump.h"

#include "device/UiMessageQueue.h"

#include <QMetaObject>
#include <QSocketNotifier>

#include <cstdint>

#if defined(__linux__)
#include <sys/eventfd.h>
#include <unistd.h>
#define ZOFFINO_EVENTFD 1
#elif defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#define ZOFFINO_PIPE 1
#endif

UiMessagePump::UiMessagePump(UiMessageQueue& queue, QObject* parent) : QObject(parent), m_queue(queue)
{
#if defined(ZOFFINO_EVENTFD)
    m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_wakeWriteFd = m_wakeFd;
#elif defined(ZOFFINO_PIPE)
    int fds[2];
    if (::pipe(fds) == 0) {
        ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
        ::fcntl(fds[1], F_SETFL, O_NONBLOCK);
        m_wakeFd = fds[0];
        m_wakeWriteFd = fds[1];
    }
#endif
    if (m_wakeFd >= 0) {
        m_notifier = std::make_unique<QSocketNotifier>(m_wakeFd, QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, &UiMessagePump::onWake);
        const int fd = m_wakeWriteFd;
        m_queue.setWakeCallback([fd] {
            const std::uint64_t one = 1;
            [[maybe_unused]] const auto written = ::write(fd, &one, sizeof one);
        });
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
#if defined(ZOFFINO_EVENTFD) || defined(ZOFFINO_PIPE)
    if (m_wakeWriteFd >= 0 && m_wakeWriteFd != m_wakeFd) {
        ::close(m_wakeWriteFd);
    }
    if (m_wakeFd >= 0) {
        ::close(m_wakeFd);
    }
#endif
}

void UiMessagePump::onWake()
{
#if defined(ZOFFINO_EVENTFD) || defined(ZOFFINO_PIPE)
    std::uint64_t buffer[8];
    while (::read(m_wakeFd, buffer, sizeof buffer) > 0) {
    }
#endif
    m_queue.wakeHandled();
    m_queue.dispatchPending();
}
