#include "sim/SimulatedBus.h"

#include <algorithm>
#include <utility>

void SimulatedBus::setReportTime(Clock::duration time)
{
    m_reportTime = std::max(time, Clock::duration::zero());
}

SimulatedBus::TimePoint SimulatedBus::reserve(TimePoint earliest)
{
    m_free = std::max(earliest, m_free) + m_reportTime;
    return m_free;
}

void SimulatedBus::sendLate(Report report, TimePoint ready)
{
    deliver(std::move(report), std::max(ready, m_free) + m_reportTime);
}

void SimulatedBus::deliver(Report report, TimePoint due)
{
    const auto at = std::upper_bound(m_inbox.begin(), m_inbox.end(), due,
                                     [](TimePoint t, const Pending& p) { return t < p.due; });
    m_inbox.insert(at, Pending{due, std::move(report)});
    if (m_inbox.size() > kInboxLimit) {
        m_inbox.pop_front();
    }
    m_changed.notify_all();
}

std::optional<SimulatedBus::Report> SimulatedBus::takeDue(TimePoint now)
{
    if (m_inbox.empty() || m_inbox.front().due > now) {
        return std::nullopt;
    }
    Report report = std::move(m_inbox.front().report);
    m_inbox.pop_front();
    return report;
}

SimulatedBus::TimePoint SimulatedBus::nextDue() const
{
    return m_inbox.empty() ? TimePoint::max() : m_inbox.front().due;
}

void SimulatedBus::disconnect()
{
    m_connected = false;
    ++m_session;
    m_inbox.clear();
    m_changed.notify_all();
}

void SimulatedBus::waitForChange(std::unique_lock<std::mutex>& lock, TimePoint wake)
{
    ++m_waitingReads;
    if (wake == TimePoint::max()) {
        m_changed.wait(lock);
    } else {
        m_changed.wait_until(lock, wake);
    }
    --m_waitingReads;
}
