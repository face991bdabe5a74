#pragma once

#include <chrono>
#include <ctime>
#include <mutex>
#include <optional>

namespace lark::quoteserver {

// Whether one public service answers, and the back-off after it did not: after a failure
// the next request waits first, then twice as long after each further failure.
class UpstreamHealth
{
public:
    using Clock = std::chrono::steady_clock;

    UpstreamHealth(Clock::duration firstPause, Clock::duration longestPause);

    // False while backing off: the request is not sent.
    bool mayTry(Clock::time_point now) const;
    void succeeded();
    void failed(Clock::time_point now);
    // Since when it has been failing, in wall-clock time; nullopt while it answers.
    std::optional<std::time_t> failingSince() const;

private:
    const Clock::duration m_firstPause, m_longestPause;
    mutable std::mutex m_mutex;
    Clock::duration m_pause {};
    Clock::time_point m_retryAt {};
    std::optional<std::time_t> m_failingSince;
};

} // namespace lark::quoteserver
