#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <string>

namespace lark::quoteserver {

// The ceiling on requests to the public services, shared by all of them: at most perSecond
// starts in any second and perMinute in any minute (the "second" shortened in tests), and a
// third of the minute's for any one client of the quote server, so that no client uses up the
// budget of the others. Any thread.
class RateLimiter
{
public:
    using Clock = std::chrono::steady_clock;

    RateLimiter(int perSecond, int perMinute, Clock::duration second = std::chrono::seconds(1));

    // Waits for a free slot and takes it; false when stopped first, or at once when the client
    // whose request this is (currentClient()) has had its share of the minute.
    bool acquire();
    // Wakes every wait; acquire() fails from now on.
    void stop();

private:
    Clock::time_point nextFree(Clock::time_point now);
    bool clientMayStart(const std::string &client, Clock::time_point now);

    const int m_perSecond, m_perMinute;
    const Clock::duration m_second;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Clock::time_point> m_starts; // the last minute's, oldest first
    std::map<std::string, std::deque<Clock::time_point>> m_clientStarts; // the same, per client
    bool m_stopped = false;
};

} // namespace lark::quoteserver
