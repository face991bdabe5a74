#pragma once

#include "engine/ports.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

namespace lark {

// Alerts in text: a line per alert saying why it rang, handed to write, and the tone through the
// desktop's sound server, the terminal bell where there is none. Any thread.
class ConsoleDesktop : public DesktopPort
{
public:
    using Writer = std::function<void(const std::string &text)>;

    // ringingReason: why the alert ringing now rang, empty while none rings.
    ConsoleDesktop(Writer write, std::function<std::string()> ringingReason);

    void openUrl(const std::string &url) override;
    void playTone(int hertz, int milliseconds) override;
    void setTrayPicture(TrayPicture picture) override;
    bool askOkCancel(const std::string &text) override;

    // After an acknowledgement the next alert is announced again, even for the same stock.
    void forgetAnnounced();
    // The front end is ending: a tone under way stops at once, and no other begins.
    void close();

private:
    void announce();

    std::mutex m_mutex;
    Writer m_write;
    std::function<std::string()> m_ringingReason;
    std::string m_announced;
    bool m_closing = false; // under m_mutex
    std::condition_variable m_closed;
};

} // namespace lark
