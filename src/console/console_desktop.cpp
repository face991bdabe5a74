#include "console/console_desktop.h"

#include "base/terminal_text.h"
#include <chrono>
#include <thread>

namespace lark {

ConsoleDesktop::ConsoleDesktop(Writer write, std::function<std::string()> ringingCode)
    : m_write(std::move(write))
    , m_ringingCode(std::move(ringingCode))
{ }

void ConsoleDesktop::openUrl(const std::string &url)
{
    std::lock_guard lock(m_mutex);
    m_write("图表: " + terminalText(url) + "\n");
}

void ConsoleDesktop::playTone(int, int milliseconds)
{
    announce();
    {
        std::lock_guard lock(m_mutex);
        m_write("\a");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
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
    std::string code = m_ringingCode();
    std::lock_guard lock(m_mutex);
    if (code.empty() || code == m_announced)
        return;
    m_announced = code;
    m_write("警报! " + terminalText(code) + " — 按回车确认\n");
}

} // namespace lark
