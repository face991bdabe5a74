#pragma once

#include "console/console_view.h"
#include "console/terminal/terminal_screen.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lark {

class ConsoleList;
class NoticeBoard;

// The interactive text front end on a terminal: title, status line, the quote table with each
// row in its up or down colour and the ringing stock's row in reverse video, the alerts' latest
// lines below; an acknowledged alert's full quote in place of all that until Enter.
class TerminalView : public ConsoleView
{
public:
    struct Sources
    {
        const ConsoleList &list;
        NoticeBoard &notices;
        std::function<std::string()> ringingCode;
    };

    // colours false (NO_COLOR) keeps the reverse video of the ringing row, and no colour.
    TerminalView(std::string title, int interfaceSize, Sources sources, TerminalScreen &screen,
                 bool colours);

    void listSettled() override;
    void turn() override;
    void lineTyped() override;
    bool showDetail(const std::string &text) override;
    void closeDetail() override;
    void marketChanged(const std::string &market) override;

private:
    void draw();
    std::vector<ScreenLine> listScreen() const;

    const std::string m_title;
    const int m_interfaceSize;
    Sources m_sources;
    TerminalScreen &m_screen;
    const bool m_colours;
    std::string m_drawnRinging;
    ScreenSize m_drawnSize;
    std::optional<std::string> m_detail;
};

} // namespace lark
