#include "quoteserver/live/rate_limiter.h"

#include "quoteserver/http/current_client.h"

#include <algorithm>

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
    const std::string &client = currentClient();
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_stopped)
            return false;
        const auto now = Clock::now();
        if (!client.empty() && !clientMayStart(client, now))
            return false;
        const auto free = nextFree(now);
        if (free <= now) {
            m_starts.push_back(now);
            if (!client.empty())
                m_clientStarts[client].push_back(now);
            return true;
        }
        m_wake.wait_until(lock, free);
    }
}

// The program's own work (board lists) names no client and has the whole budget.
bool RateLimiter::clientMayStart(const std::string &client, Clock::time_point now)
{
    const Clock::duration minute = 60 * m_second;
    for (auto it = m_clientStarts.begin(); it != m_clientStarts.end();) {
        auto &starts = it->second;
        while (!starts.empty() && starts.front() <= now - minute)
            starts.pop_front();
        it = starts.empty() ? m_clientStarts.erase(it) : std::next(it);
    }
    const auto own = m_clientStarts.find(client);
    const int share = std::max(1, m_perMinute / 3);
    return own == m_clientStarts.end() || static_cast<int>(own->second.size()) < share;
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
