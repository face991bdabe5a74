#include "console/console_desktop.h"

#include "base/terminal_text.h"
#include "base/tone.h"

#include <chrono>

namespace lark {

ConsoleDesktop::ConsoleDesktop(Writer write, std::function<std::string()> ringingReason)
    : m_write(std::move(write))
    , m_ringingReason(std::move(ringingReason))
{ }

void ConsoleDesktop::openUrl(const std::string &url)
{
    std::lock_guard lock(m_mutex);
    m_write("图表: " + terminalText(url) + "\n");
}

// On the alert's own thread: the next cycle waits for the tone's end, the bell's as well.
void ConsoleDesktop::playTone(int hertz, int milliseconds)
{
    announce();
    const auto closing = [this] {
        std::lock_guard lock(m_mutex);
        return m_closing;
    };
    if (closing() || playToneOnSoundServer(hertz, milliseconds, closing))
        return;
    std::unique_lock lock(m_mutex);
    m_write("\a");
    m_closed.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return m_closing; });
}

void ConsoleDesktop::close()
{
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_closed.notify_all();
}

void ConsoleDesktop::setTrayPicture(TrayPicture picture)
{
    if (picture == TrayPicture::Alert)
        announce();
}

bool ConsoleDesktop::askOkCancel(const std::string &text)
{
    std::lock_guard lock(m_mutex);
    m_write(terminalText(text) + " (请在窗口版中下载)\n");
    return false;
}

void ConsoleDesktop::forgetAnnounced()
{
    std::lock_guard lock(m_mutex);
    m_announced.clear();
}

void ConsoleDesktop::announce()
{
    std::string reason = m_ringingReason();
    std::lock_guard lock(m_mutex);
    if (reason.empty() || reason == m_announced)
        return;
    m_announced = reason;
    m_write("警报! " + terminalText(reason) + " — 按回车确认\n");
}

} // namespace lark
