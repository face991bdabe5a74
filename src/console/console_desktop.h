#pragma once

#include "engine/ports.h"

#include <functional>
#include <mutex>
#include <ostream>
#include <string>

namespace lark {

// Alerts on a terminal: a line per alert and the terminal bell for the tone.
class ConsoleDesktop : public DesktopPort
{
public:
    ConsoleDesktop(std::ostream &out, std::function<std::string()> ringingCode);

    void openUrl(const std::string &url) override;
    void playTone(int hertz, int milliseconds) override;
    void setTrayPicture(TrayPicture picture) override;
    bool askOkCancel(const std::string &text) override;

    // After an acknowledgement the next alert is announced again, even for the same stock.
    void forgetAnnounced();

private:
    void announce();

    std::mutex m_mutex;
    std::ostream &m_out;
    std::function<std::string()> m_ringingCode;
    std::string m_announced;
};

} // namespace lark
