#include "device/UiMessageQueue.h"

#include <algorithm>
#include <utility>

void UiMessageQueue::post(UiMessage message)
{
    {
        std::lock_guard lock(m_mutex);
        m_messages.push_back(std::move(message));
        if (m_wake && !m_wakePending) {
            m_wakePending = true;
            m_wake();
        }
    }
    m_arrived.notify_all();
}

std::optional<UiMessage> UiMessageQueue::take(std::uint32_t message, Clock::time_point deadline)
{
    std::unique_lock lock(m_mutex);
    auto found = m_messages.end();
    auto scan = [&] {
        found = std::find_if(m_messages.begin(), m_messages.end(),
                             [message](const UiMessage& m) { return m.message == message; });
        return found != m_messages.end();
    };
    if (!m_arrived.wait_until(lock, deadline, scan)) {
        return std::nullopt;
    }
    UiMessage taken = std::move(*found);
    m_messages.erase(found);
    return taken;
}

bool UiMessageQueue::hasPending() const
{
    std::lock_guard lock(m_mutex);
    return !m_messages.empty();
}

bool UiMessageQueue::waitPending(Clock::time_point deadline) const
{
    std::unique_lock lock(m_mutex);
    return m_arrived.wait_until(lock, deadline, [this] { return !m_messages.empty(); });
}

std::size_t UiMessageQueue::pendingCount() const
{
    std::lock_guard lock(m_mutex);
    return m_messages.size();
}

std::size_t UiMessageQueue::dispatchPending(std::size_t maxCount)
{
    std::size_t budget;
    {
        std::lock_guard lock(m_mutex);
        // Messages posted by the handlers themselves wait for the next round, so a handler that posts
        // cannot keep this loop going for ever.
        budget = std::min(maxCount, m_messages.size());
    }
    std::size_t taken = 0;
    while (taken < budget) {
        UiMessage message;
        Handler handler;
        {
            std::lock_guard lock(m_mutex);
            if (m_messages.empty()) {
                break;
            }
            message = std::move(m_messages.front());
            m_messages.pop_front();
            // A copy: the handler may close its own window, which clears the registration.
            handler = m_handlers[index(message.target)];
        }
        ++taken;
        if (handler) {
            handler(message);
        }
    }
    return taken;
}

void UiMessageQueue::setHandler(UiTarget target, Handler handler)
{
    std::lock_guard lock(m_mutex);
    m_registered[index(target)].store(static_cast<bool>(handler), std::memory_order_release);
    m_handlers[index(target)] = std::move(handler);
}

void UiMessageQueue::clearHandler(UiTarget target)
{
    std::lock_guard lock(m_mutex);
    m_registered[index(target)].store(false, std::memory_order_release);
    m_handlers[index(target)] = nullptr;
}

void UiMessageQueue::setWakeCallback(std::function<void()> wake)
{
    std::lock_guard lock(m_mutex);
    m_wake = std::move(wake);
    m_wakePending = false;
    if (m_wake && !m_messages.empty()) {
        m_wakePending = true;
        m_wake();
    }
}

void UiMessageQueue::wakeHandled()
{
    std::lock_guard lock(m_mutex);
    m_wakePending = false;
}
