#include "console/terminal/terminal_view.h"

#include "base/c_format.h"
#include "base/terminal_text.h"
#include "console/console_list.h"
#include "console/console_table.h"
#include "console/terminal/notice_board.h"
#include "engine/row_texts.h"

#include <sstream>

namespace lark {
namespace {

// SGR attributes of a row: red up, green down (as the window colours them), none for a row
// written without a colour (black); reverse video while its stock's alert rings.
std::string rowAttributes(Rgb colour, bool ringing, bool colours)
{
    std::string attributes;
    if (colours && colour == kUpColour)
        attributes = "31";
    else if (colours && colour == kDownColour)
        attributes = "32";
    if (ringing)
        attributes += attributes.empty() ? "7" : ";7";
    return attributes;
}

std::vector<ScreenLine> textLines(const std::string &text)
{
    std::vector<ScreenLine> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back({line, ""});
    return lines;
}

} // namespace

TerminalView::TerminalView(std::string title, int interfaceSize, Sources sources,
                           TerminalScreen &screen, bool colours)
    : m_title(std::move(title))
    , m_interfaceSize(interfaceSize)
    , m_sources(std::move(sources))
    , m_screen(screen)
    , m_colours(colours)
{ }

void TerminalView::listSettled()
{
    draw();
}

void TerminalView::turn()
{
    for (int bells = m_sources.notices.takeBells(); bells > 0; --bells)
        m_screen.bell();
    const bool noticesChanged = m_sources.notices.takeChanged();
    const ScreenSize size = m_screen.size();
    if (noticesChanged || m_sources.ringingCode() != m_drawnRinging
        || size.columns != m_drawnSize.columns || size.rows != m_drawnSize.rows)
        draw();
}

void TerminalView::lineTyped()
{
    draw();
}

bool TerminalView::showDetail(const std::string &text)
{
    if (text.empty())
        return false;
    m_sources.notices.clear();
    m_detail = text;
    draw();
    return true;
}

// Among the alerts' lines, which the next turn draws.
void TerminalView::marketChanged(const std::string &market)
{
    m_sources.notices.add(market + "\n");
}

void TerminalView::closeDetail()
{
    m_detail.reset();
    draw();
}

void TerminalView::draw()
{
    m_drawnRinging = m_sources.ringingCode();
    m_drawnSize = m_screen.size();
    if (!m_detail) {
        m_screen.draw(listScreen());
        return;
    }
    // Its caption and 23 lines: the whole of a 24-line terminal.
    std::vector<ScreenLine> lines {{"详细资料 — 回车返回", "7"}};
    for (ScreenLine &line : textLines(*m_detail))
        lines.push_back(std::move(line));
    m_screen.draw(lines);
}

std::vector<ScreenLine> TerminalView::listScreen() const
{
    const auto rows = m_sources.list.rows();
    const auto colours = m_sources.list.rowColours();
    const auto table = tableLines(rows, m_interfaceSize);
    // A table cut at the edge would lose columns or rows without a word: say so instead.
    size_t width = displayWidth(m_title);
    for (const std::string &line : table)
        width = std::max(width, displayWidth(line));
    const int height = static_cast<int>(table.size()) + 2;
    if (m_drawnSize.columns < static_cast<int>(width) || m_drawnSize.rows < height)
        return {{cformat("终端太小: 需 %zux%d, 现 %dx%d", width, height, m_drawnSize.columns,
                         m_drawnSize.rows),
                 ""}};
    std::vector<ScreenLine> lines {
        {m_title, ""}, {terminalText(m_sources.list.status()), ""}, {table[0], "1"}};
    for (size_t r = 0; r < rows.size(); ++r) {
        const bool ringing
            = !m_drawnRinging.empty() && !rows[r].empty() && rows[r][0] == m_drawnRinging;
        const Rgb colour = r < colours.size() && colours[r] ? *colours[r] : kBlack;
        lines.push_back({table[r + 1], rowAttributes(colour, ringing, m_colours)});
    }
    lines.push_back({"", ""});
    for (const std::string &notice : m_sources.notices.lines())
        lines.push_back({notice, ""});
    return lines;
}

} // namespace lark
