#include "console/terminal/notice_board.h"

#include <utility>

namespace lark {

void NoticeBoard::add(const std::string &text)
{
    std::lock_guard lock(m_mutex);
    for (char c : text) {
        if (c == '\a') {
            ++m_bells;
        } else if (c != '\n') {
            m_partial += c;
        } else {
            m_lines.push_back(std::exchange(m_partial, std::string()));
            if (m_lines.size() > kKeptLines)
                m_lines.pop_front();
            m_changed = true;
        }
    }
}

void NoticeBoard::clear()
{
    std::lock_guard lock(m_mutex);
    m_lines.clear();
    m_partial.clear();
    m_changed = true;
}

std::vector<std::string> NoticeBoard::lines() const
{
    std::lock_guard lock(m_mutex);
    return {m_lines.begin(), m_lines.end()};
}

int NoticeBoard::takeBells()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_bells, 0);
}

bool NoticeBoard::takeChanged()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_changed, false);
}

} // namespace lark
