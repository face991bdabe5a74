#pragma once

#include <string>

namespace lark {

// How the interactive text front end shows itself: plain text down a pipe, or one screen
// redrawn in place on a terminal.
class ConsoleView
{
public:
    virtual ~ConsoleView() = default;

    // The quote list has been quiet for a moment after a change.
    virtual void listSettled() = 0;
    // Every turn of the input loop, a few times a second.
    virtual void turn() { }
    // The user typed a line (its echo has moved the terminal's contents).
    virtual void lineTyped() { }
    // The full quote of an acknowledged alert; true when it stays up until closeDetail().
    virtual bool showDetail(const std::string &text) = 0;
    virtual void closeDetail() { }
    // The market's text changed: the live market failing since a time, or answering again.
    virtual void marketChanged(const std::string &market) = 0;
};

} // namespace lark
