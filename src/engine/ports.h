#pragma once

#include "engine/rgb.h"

#include <string>

namespace lark {

// The quote list as the engine sees it. Calls come from worker threads, in order;
// an implementation carries them out on its own thread.
enum class PageButton { Previous, Next };

class QuoteListPort
{
public:
    virtual ~QuoteListPort() = default;
    virtual void deleteAllRows() = 0;
    virtual void deleteRow(int row) = 0;
    virtual void insertRow(int row, const std::string &code) = 0;
    virtual void setText(int row, int column, const std::string &text) = 0;
    virtual void setTextColour(Rgb colour) = 0;
    virtual void setStatusText(const std::string &text) = 0;
    virtual void enablePageButton(PageButton button) = 0;
};

enum class TrayPicture { Normal, Alert };

// What the engine asks of the desktop.
class DesktopPort
{
public:
    virtual ~DesktopPort() = default;
    virtual void openUrl(const std::string &url) = 0;
    // Returns when the tone has ended.
    virtual void playTone(int hertz, int milliseconds) = 0;
    virtual void setTrayPicture(TrayPicture picture) = 0;
    // Blocks until the user answers; true for OK.
    virtual bool askOkCancel(const std::string &text) = 0;
    // The feed's state or the ringing alert may have changed: after each pass and when an
    // alert starts to ring. For a front end that shows them; the engine's own state is final.
    virtual void glanceChanged() { }
};

} // namespace lark
