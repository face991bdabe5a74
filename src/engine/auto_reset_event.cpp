#include "engine/auto_reset_event.h"

namespace lark {

// Notified under the lock: the waiter cannot return, and its event cannot be destroyed, before
// set() is done with it.
void AutoResetEvent::set()
{
    std::lock_guard lock(m_mutex);
    m_set = true;
    m_changed.notify_one();
}

void AutoResetEvent::reset()
{
    std::lock_guard lock(m_mutex);
    m_set = false;
}

void AutoResetEvent::interrupt()
{
    std::lock_guard lock(m_mutex);
    m_interrupted = true;
    m_changed.notify_all();
}

bool AutoResetEvent::takeLocked()
{
    if (m_interrupted)
        return false;
    m_set = false;
    return true;
}

bool AutoResetEvent::wait()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_set || m_interrupted; });
    return takeLocked();
}

bool AutoResetEvent::waitFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_for(lock, timeout, [this] { return m_set || m_interrupted; }))
        return false;
    return takeLocked();
}

} // namespace lark
