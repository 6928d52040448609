#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

// The USB link between the host and the simulated player: the time each report occupies it, the input
// reports on their way to the host, and whether the player is plugged in. Deadlines are absolute, so
// that a late wake-up on one report is not added to the next.
// Not thread-safe: it is used under the simulated player's lock, which is the lock waitForChange() gives
// up while a reader waits.
class SimulatedBus
{
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;
    using Report = std::vector<std::uint8_t>;

    // Past this many unread reports the oldest are dropped, as a HID driver's ring buffer does, so that a
    // long run nobody reads from cannot grow memory without bound.
    static constexpr std::size_t kInboxLimit = 4096;

    // Time each report, in either direction, occupies the bus; 0 means an infinitely fast bus.
    void setReportTime(Clock::duration time);

    // Claims the bus for one report that is ready at earliest; returns when its transfer has ended.
    TimePoint reserve(TimePoint earliest);
    // The player starts sending once the bus is free; the host sees the report when its transfer has ended.
    void send(Report report, TimePoint earliest) { deliver(std::move(report), reserve(earliest)); }
    // A report the player is late with: it stands for the player being busy, which must not hold the bus
    // meanwhile, or a long delay would stall the host's writes instead of testing its patience.
    void sendLate(Report report, TimePoint ready);
    // A report that reaches the host at due, whatever the bus is doing.
    void deliver(Report report, TimePoint due);

    // The first report due by now, taken out of the inbox.
    std::optional<Report> takeDue(TimePoint now);
    // When the first report in the inbox is due; TimePoint::max() when there is none.
    TimePoint nextDue() const;

    bool connected() const { return m_connected; }
    // Each plug-in is a session; handles belong to the one they were opened in.
    std::uint64_t session() const { return m_session; }
    bool isCurrent(std::uint64_t session) const { return m_connected && session == m_session; }
    // The player dropped off the bus: its session ends for good and what was on its way is lost.
    void disconnect();
    void reconnect() { m_connected = true; }

    // Waits, giving up lock, until something changes or until wake (TimePoint::max(): no limit).
    void waitForChange(std::unique_lock<std::mutex>& lock, TimePoint wake);
    void wakeAll() { m_changed.notify_all(); }
    // Readers waiting right now.
    int waitingReads() const { return m_waitingReads; }

private:
    struct Pending
    {
        TimePoint due;
        Report report;
    };

    Clock::duration m_reportTime{};
    TimePoint m_free{};
    // Ordered by due time; reports due at the same time keep the order they were sent in.
    std::deque<Pending> m_inbox;
    bool m_connected = true;
    std::uint64_t m_session = 0;
    std::condition_variable m_changed;
    int m_waitingReads = 0;
};
