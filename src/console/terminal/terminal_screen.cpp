#include "console/terminal/terminal_screen.h"

#include "console/console_table.h"

#include <cstdlib>
#include <cstring>
#include <sys/ioctl.h>
#include <unistd.h>

namespace lark {
namespace {

constexpr const char *kEnterAlternateScreen = "\x1b[?1049h\x1b[H\x1b[2J";
constexpr const char *kLeaveAlternateScreen = "\x1b[?1049l";

} // namespace

TerminalScreen::TerminalScreen(std::ostream &out, SizeSource size)
    : m_out(out)
    , m_size(std::move(size))
{
    m_out << kEnterAlternateScreen << std::flush;
}

TerminalScreen::~TerminalScreen()
{
    m_out << kLeaveAlternateScreen << std::flush;
}

bool TerminalScreen::available()
{
    const char *term = std::getenv("TERM");
    return ::isatty(STDOUT_FILENO) && term && *term && std::strcmp(term, "dumb") != 0;
}

ScreenSize TerminalScreen::outputSize()
{
    winsize size {};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0)
        return {};
    return {size.ws_col, size.ws_row};
}

void TerminalScreen::draw(const std::vector<ScreenLine> &lines)
{
    const ScreenSize size = m_size();
    // Home, then each line cleared to its end; no line break after the last row, so the
    // terminal never scrolls; then everything below cleared.
    std::string frame = "\x1b[H";
    const size_t shown = std::min(lines.size(), static_cast<size_t>(std::max(size.rows, 1)));
    for (size_t i = 0; i < shown; ++i) {
        const std::string text = clippedToWidth(lines[i].text, size_t(std::max(size.columns, 1)));
        if (lines[i].attributes.empty())
            frame += text;
        else
            frame += "\x1b[" + lines[i].attributes + "m" + text + "\x1b[0m";
        frame += "\x1b[K";
        if (i + 1 < shown)
            frame += "\r\n";
    }
    frame += "\x1b[J";
    m_out << frame << std::flush;
}

void TerminalScreen::bell()
{
    m_out << '\a' << std::flush;
}

} // namespace lark
