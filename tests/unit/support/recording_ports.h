#pragma once

#include "console/console_list.h"
#include "engine/ports.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace lark::test {

// Keeps the list as rows (as the text front end does) and every call as a line.
class RecordingList : public ConsoleList
{
public:
    void deleteAllRows() override;
    void deleteRow(int row) override;
    void insertRow(int row, const std::string &code) override;
    void setText(int row, int column, const std::string &text) override;
    void setTextColour(Rgb colour) override;
    void setStatusText(const std::string &text) override;
    void enablePageButton(PageButton button) override;

    std::vector<std::string> calls() const;
    std::vector<Rgb> colours() const;
    bool waitFor(const std::function<bool()> &condition,
                 std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    void record(std::string call);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_calls;
    std::vector<Rgb> m_colours;
};

class RecordingDesktop : public DesktopPort
{
public:
    void openUrl(const std::string &url) override;
    void playTone(int hertz, int milliseconds) override;
    void setTrayPicture(TrayPicture picture) override;
    bool askOkCancel(const std::string &text) override;

    bool answer = false;
    std::function<void()> onAsk; // runs while the question is open
    std::vector<std::string> urls() const;
    std::vector<std::string> questions() const;
    std::vector<std::string> events() const; // "url X", "tone", "alert", "normal", "ask X"
    bool waitFor(const std::function<bool()> &condition,
                 std::chrono::milliseconds timeout = std::chrono::seconds(10));

private:
    void record(std::string event);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_urls;
    std::vector<std::string> m_questions;
    std::vector<std::string> m_events;
};

} // namespace lark::test
