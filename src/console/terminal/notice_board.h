#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace lark {

// What the alerts say while the terminal screen is up: their latest lines and the bells still
// to ring, handed from the alert threads to the loop that draws.
class NoticeBoard
{
public:
    // Text as the alerts write it: lines ending in '\n', '\a' for the bell.
    void add(const std::string &text);
    void clear();

    std::vector<std::string> lines() const;
    int takeBells();
    // True once after every change of the lines.
    bool takeChanged();

private:
    static constexpr size_t kKeptLines = 8;

    mutable std::mutex m_mutex;
    std::deque<std::string> m_lines;
    std::string m_partial; // a line not ended yet
    int m_bells = 0;
    bool m_changed = false;
};

} // namespace lark
