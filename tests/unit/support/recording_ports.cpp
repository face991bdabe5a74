#include "support/recording_ports.h"

#include <thread>

namespace lark::test {
namespace {

bool waitUntil(std::mutex &mutex, std::condition_variable &changed,
               const std::function<bool()> &condition, std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(mutex);
    while (true) {
        lock.unlock();
        bool met = condition();
        lock.lock();
        if (met)
            return true;
        if (changed.wait_until(
                lock,
                std::min(deadline,
                         std::chrono::steady_clock::now() + std::chrono::milliseconds(20)))
                == std::cv_status::timeout
            && std::chrono::steady_clock::now() >= deadline)
            return condition();
    }
}

} // namespace

void RecordingList::record(std::string call)
{
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
    }
    m_changed.notify_all();
}

void RecordingList::deleteAllRows()
{
    ConsoleList::deleteAllRows();
    record("delete-all");
}

void RecordingList::deleteRow(int row)
{
    ConsoleList::deleteRow(row);
    record("delete " + std::to_string(row));
}

void RecordingList::insertRow(int row, const std::string &code)
{
    ConsoleList::insertRow(row, code);
    record("insert " + std::to_string(row) + " " + code);
}

void RecordingList::setText(int row, int column, const std::string &text)
{
    ConsoleList::setText(row, column, text);
    record("text " + std::to_string(row) + " " + std::to_string(column) + " " + text);
}

void RecordingList::setTextColour(Rgb colour)
{
    ConsoleList::setTextColour(colour);
    {
        std::lock_guard lock(m_mutex);
        m_colours.push_back(colour);
    }
    record("colour");
}

void RecordingList::setStatusText(const std::string &text)
{
    ConsoleList::setStatusText(text);
    record("status " + text);
}

void RecordingList::enablePageButton(PageButton button)
{
    record(button == PageButton::Next ? "enable next" : "enable previous");
}

std::vector<std::string> RecordingList::calls() const
{
    std::lock_guard lock(m_mutex);
    return m_calls;
}

std::vector<Rgb> RecordingList::colours() const
{
    std::lock_guard lock(m_mutex);
    return m_colours;
}

bool RecordingList::waitFor(const std::function<bool()> &condition,
                            std::chrono::milliseconds timeout)
{
    return waitUntil(m_mutex, m_changed, condition, timeout);
}

void RecordingDesktop::record(std::string event)
{
    {
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(event));
    }
    m_changed.notify_all();
}

void RecordingDesktop::openUrl(const std::string &url)
{
    {
        std::lock_guard lock(m_mutex);
        m_urls.push_back(url);
    }
    record("url " + url);
}

void RecordingDesktop::playTone(int, int)
{
    record("tone");
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void RecordingDesktop::setTrayPicture(TrayPicture picture)
{
    record(picture == TrayPicture::Alert ? "alert" : "normal");
}

bool RecordingDesktop::askOkCancel(const std::string &text)
{
    {
        std::lock_guard lock(m_mutex);
        m_questions.push_back(text);
    }
    record("ask " + text);
    if (onAsk)
        onAsk();
    return answer;
}

std::vector<std::string> RecordingDesktop::urls() const
{
    std::lock_guard lock(m_mutex);
    return m_urls;
}

std::vector<std::string> RecordingDesktop::questions() const
{
    std::lock_guard lock(m_mutex);
    return m_questions;
}

std::vector<std::string> RecordingDesktop::events() const
{
    std::lock_guard lock(m_mutex);
    return m_events;
}

bool RecordingDesktop::waitFor(const std::function<bool()> &condition,
                               std::chrono::milliseconds timeout)
{
    return waitUntil(m_mutex, m_changed, condition, timeout);
}

} // namespace lark::test
