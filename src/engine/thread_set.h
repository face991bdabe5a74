#pragma once

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace lark {

// Owns worker threads: finished ones are reaped as new ones start, the rest joined at close.
class ThreadSet
{
public:
    ~ThreadSet() { closeAndJoin(); }

    // false once closed: nothing starts after shutdown began.
    bool start(std::function<void()> work);
    void closeAndJoin();
    size_t running() const;

private:
    struct Worker
    {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    void reapLocked();

    mutable std::mutex m_mutex;
    std::list<Worker> m_workers;
    bool m_closed = false;
};

} // namespace lark
