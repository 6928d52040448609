#pragma once

#include "device/UiMessage.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

// The message queue of the user-interface thread. Any thread may post; the user-interface thread either
// dispatches the messages to the handlers of the windows that exist, or, while it waits for a device reply,
// takes the replies out in posting order and leaves everything else queued.
class UiMessageQueue
{
public:
    using Handler = std::function<void(UiMessage&)>;
    using Clock = std::chrono::steady_clock;

    UiMessageQueue() = default;
    UiMessageQueue(const UiMessageQueue&) = delete;
    UiMessageQueue& operator=(const UiMessageQueue&) = delete;

    // Never blocks beyond the short hold of the queue's lock.
    void post(UiMessage message);

    // Removes and returns the first queued message with this message value, waiting for one until the
    // deadline; other messages stay queued in their order and are not dispatched.
    std::optional<UiMessage> take(std::uint32_t message, Clock::time_point deadline);

    bool hasPending() const;
    // Waits until some message is queued or the deadline passes; true when one is.
    bool waitPending(Clock::time_point deadline) const;
    std::size_t pendingCount() const;

    // Hands at most maxCount of the messages queued now to their windows' handlers; a message whose
    // window has no handler (not created yet, or gone) is dropped. Returns how many were taken.
    std::size_t dispatchPending(std::size_t maxCount = static_cast<std::size_t>(-1));

    // A window registers while it exists; messages for it are dropped otherwise.
    void setHandler(UiTarget target, Handler handler);
    void clearHandler(UiTarget target);
    // Whether a window is registered: without the lock, so that the reader, which asks for every report,
    // never holds up the user-interface thread's dispatching.
    bool hasHandler(UiTarget target) const
    {
        return m_registered[index(target)].load(std::memory_order_acquire);
    }

    // Called, under the queue's lock, when a message arrives while no wake-up is outstanding; it must not
    // block and must not touch the queue. The pump that installs it calls wakeHandled() once woken.
    void setWakeCallback(std::function<void()> wake);
    void wakeHandled();

private:
    static std::size_t index(UiTarget target) { return static_cast<std::size_t>(target); }

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_arrived;
    std::deque<UiMessage> m_messages;
    std::array<Handler, 2> m_handlers;
    std::array<std::atomic<bool>, 2> m_registered{};
    std::function<void()> m_wake;
    bool m_wakePending = false;
};
