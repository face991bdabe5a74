#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace lark::quoteserver {

// Whole requests waiting for a worker, taken client by client in turn, one at a time each: a
// client with many requests waits behind its own, never in front of another's, and holds at
// most one worker. Any thread.
class FairQueue
{
public:
    using Job = std::function<void()>;

    FairQueue(size_t workers, size_t waitingPerClient);
    ~FairQueue();
    FairQueue(const FairQueue &) = delete;
    FairQueue &operator=(const FairQueue &) = delete;

    // False, and the job dropped, when the client has its fill of waiting jobs already.
    bool push(const std::string &client, Job job);
    // Jobs running finish, waiting ones are dropped; joins the workers.
    void shutdown();

private:
    void work();

    const size_t m_waitingPerClient;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::map<std::string, std::deque<Job>> m_waiting;
    std::deque<std::string> m_turns; // clients with jobs waiting and none running, in order
    std::set<std::string> m_running;
    bool m_stopped = false;
    std::vector<std::thread> m_workers;
};

} // namespace lark::quoteserver
