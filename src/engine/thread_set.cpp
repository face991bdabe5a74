#include "engine/thread_set.h"

namespace lark {

bool ThreadSet::start(std::function<void()> work)
{
    std::lock_guard lock(m_mutex);
    if (m_closed)
        return false;
    reapLocked();
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([work = std::move(work), done] {
        work();
        *done = true;
    });
    m_workers.push_back({std::move(thread), std::move(done)});
    return true;
}

void ThreadSet::reapLocked()
{
    for (auto it = m_workers.begin(); it != m_workers.end();) {
        if (*it->done) {
            it->thread.join();
            it = m_workers.erase(it);
        } else {
            ++it;
        }
    }
}

void ThreadSet::closeAndJoin()
{
    std::list<Worker> workers;
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        workers.swap(m_workers);
    }
    for (Worker &worker : workers)
        worker.thread.join();
}

size_t ThreadSet::running() const
{
    std::lock_guard lock(m_mutex);
    size_t count = 0;
    for (const Worker &worker : m_workers)
        count += !*worker.done;
    return count;
}

} // namespace lark
