#include "console/console_list.h"

#include <utility>

namespace lark {

void ConsoleList::deleteAllRows()
{
    std::lock_guard lock(m_mutex);
    m_rows.clear();
    m_rowColours.clear();
    m_changed = true;
}

void ConsoleList::deleteRow(int row)
{
    std::lock_guard lock(m_mutex);
    if (row >= 0 && row < static_cast<int>(m_rows.size())) {
        m_rows.erase(m_rows.begin() + row);
        m_rowColours.erase(m_rowColours.begin() + row);
    }
    m_changed = true;
}

// A row stands at its slot's index even while earlier rows were never written.
void ConsoleList::insertRow(int row, const std::string &code)
{
    std::lock_guard lock(m_mutex);
    if (row < 0)
        return;
    if (row > static_cast<int>(m_rows.size())) {
        m_rows.resize(row);
        m_rowColours.resize(row);
    }
    m_rows.insert(m_rows.begin() + row, std::vector<std::string> {code});
    m_rowColours.insert(m_rowColours.begin() + row, std::exchange(m_pendingColour, std::nullopt));
    m_changed = true;
}

void ConsoleList::setText(int row, int column, const std::string &text)
{
    std::lock_guard lock(m_mutex);
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || column < 0)
        return;
    auto &cells = m_rows[row];
    if (column >= static_cast<int>(cells.size()))
        cells.resize(column + 1);
    cells[column] = text;
    m_changed = true;
}

void ConsoleList::setTextColour(Rgb colour)
{
    std::lock_guard lock(m_mutex);
    m_pendingColour = colour;
}

void ConsoleList::setStatusText(const std::string &text)
{
    std::lock_guard lock(m_mutex);
    m_status = text;
    m_changed = true;
}

std::vector<std::vector<std::string>> ConsoleList::rows() const
{
    std::lock_guard lock(m_mutex);
    return m_rows;
}

std::vector<std::optional<Rgb>> ConsoleList::rowColours() const
{
    std::lock_guard lock(m_mutex);
    return m_rowColours;
}

std::string ConsoleList::status() const
{
    std::lock_guard lock(m_mutex);
    return m_status;
}

bool ConsoleList::takeChanged()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_changed, false);
}

} // namespace lark
