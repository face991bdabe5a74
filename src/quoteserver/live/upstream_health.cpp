#include "quoteserver/live/upstream_health.h"

#include <algorithm>

namespace lark::quoteserver {

UpstreamHealth::UpstreamHealth(Clock::duration firstPause, Clock::duration longestPause)
    : m_firstPause(firstPause)
    , m_longestPause(longestPause)
{ }

bool UpstreamHealth::mayTry(Clock::time_point now) const
{
    std::lock_guard lock(m_mutex);
    return now >= m_retryAt;
}

void UpstreamHealth::succeeded()
{
    std::lock_guard lock(m_mutex);
    m_pause = {};
    m_retryAt = {};
    m_failingSince.reset();
}

void UpstreamHealth::failed(Clock::time_point now)
{
    std::lock_guard lock(m_mutex);
    m_pause = m_pause == Clock::duration {} ? m_firstPause : std::min(2 * m_pause, m_longestPause);
    m_retryAt = now + m_pause;
    if (!m_failingSince)
        m_failingSince = std::time(nullptr);
}

std::optional<std::time_t> UpstreamHealth::failingSince() const
{
    std::lock_guard lock(m_mutex);
    return m_failingSince;
}

} // namespace lark::quoteserver
