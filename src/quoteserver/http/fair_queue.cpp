#include "quoteserver/http/fair_queue.h"

#include <algorithm>

namespace lark::quoteserver {

FairQueue::FairQueue(size_t workers, size_t waitingPerClient)
    : m_waitingPerClient(waitingPerClient)
{
    for (size_t i = 0; i < workers; ++i)
        m_workers.emplace_back([this] { work(); });
}

FairQueue::~FairQueue()
{
    shutdown();
}

bool FairQueue::push(const std::string &client, Job job)
{
    {
        std::lock_guard lock(m_mutex);
        auto &waiting = m_waiting[client];
        if (m_stopped || waiting.size() >= m_waitingPerClient)
            return false;
        waiting.push_back(std::move(job));
        const bool queued = std::find(m_turns.begin(), m_turns.end(), client) != m_turns.end();
        if (!queued && !m_running.count(client))
            m_turns.push_back(client);
    }
    m_wake.notify_one();
    return true;
}

void FairQueue::shutdown()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_stopped && m_workers.empty())
            return;
        m_stopped = true;
        m_waiting.clear();
        m_turns.clear();
    }
    m_wake.notify_all();
    for (std::thread &worker : m_workers)
        worker.join();
    m_workers.clear();
}

void FairQueue::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopped || !m_turns.empty(); });
        if (m_stopped)
            return;
        const std::string client = std::move(m_turns.front());
        m_turns.pop_front();
        auto &waiting = m_waiting[client];
        Job job = std::move(waiting.front());
        waiting.pop_front();
        m_running.insert(client);
        lock.unlock();
        job();
        lock.lock();
        m_running.erase(client);
        if (auto it = m_waiting.find(client); it != m_waiting.end() && it->second.empty())
            m_waiting.erase(it);
        else if (!m_stopped)
            m_turns.push_back(client);
        m_wake.notify_one();
    }
}

} // namespace lark::quoteserver
