#include "quoteserver/live/rate_limiter.h"

namespace lark::quoteserver {

RateLimiter::RateLimiter(int perSecond, int perMinute, Clock::duration second)
    : m_perSecond(perSecond)
    , m_perMinute(perMinute)
    , m_second(second)
{ }

// The earliest moment a start keeps both windows within their counts.
RateLimiter::Clock::time_point RateLimiter::nextFree(Clock::time_point now)
{
    const Clock::duration minute = 60 * m_second;
    while (!m_starts.empty() && m_starts.front() <= now - minute)
        m_starts.pop_front();
    Clock::time_point free = now;
    const auto count = static_cast<int>(m_starts.size());
    if (count >= m_perMinute)
        free = std::max(free, m_starts[count - m_perMinute] + minute);
    if (count >= m_perSecond)
        free = std::max(free, m_starts[count - m_perSecond] + m_second);
    return free;
}

bool RateLimiter::acquire()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_stopped)
            return false;
        const auto now = Clock::now();
        const auto free = nextFree(now);
        if (free <= now) {
            m_starts.push_back(now);
            return true;
        }
        m_wake.wait_until(lock, free);
    }
}

void RateLimiter::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_wake.notify_all();
}

} // namespace lark::quoteserver
