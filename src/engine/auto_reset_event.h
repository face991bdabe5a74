#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace lark {

// An event that lets one waiter through per set(). interrupt() releases every present and
// future waiter for good (shutdown); waits then report false.
class AutoResetEvent
{
public:
    explicit AutoResetEvent(bool initiallySet = false)
        : m_set(initiallySet)
    { }

    void set();
    void reset();
    void interrupt();
    bool wait();
    bool waitFor(std::chrono::milliseconds timeout);

private:
    bool takeLocked();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_set;
    bool m_interrupted = false;
};

} // namespace lark
