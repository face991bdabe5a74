#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace lark {

// One line of the screen: its text and the SGR attributes it is drawn with ("" for none).
struct ScreenLine
{
    std::string text;
    std::string attributes;
};

struct ScreenSize
{
    int columns = 80;
    int rows = 24;
};

// A terminal used as one screen redrawn in place: the alternate screen while it lives, every
// frame drawn from the top, cut to the terminal's width and height, so nothing ever scrolls.
class TerminalScreen
{
public:
    using SizeSource = std::function<ScreenSize()>;

    TerminalScreen(std::ostream &out, SizeSource size);
    ~TerminalScreen();
    TerminalScreen(const TerminalScreen &) = delete;
    TerminalScreen &operator=(const TerminalScreen &) = delete;

    // Whether standard output is a terminal that can be drawn on.
    static bool available();
    // The size of the terminal on standard output.
    static ScreenSize outputSize();

    ScreenSize size() const { return m_size(); }
    // Draws the lines over whatever the terminal shows.
    void draw(const std::vector<ScreenLine> &lines);
    void bell();

private:
    std::ostream &m_out;
    SizeSource m_size;
};

} // namespace lark
