#pragma once

#include "engine/ports.h"

#include <functional>
#include <mutex>
#include <string>

namespace lark {

// Alerts in text: a line per alert and the terminal bell for the tone, handed to write.
class ConsoleDesktop : public DesktopPort
{
public:
    using Writer = std::function<void(const std::string &text)>;

    ConsoleDesktop(Writer write, std::function<std::string()> ringingCode);

    void openUrl(const std::string &url) override;
    void playTone(int hertz, int milliseconds) override;
    void setTrayPicture(TrayPicture picture) override;
    bool askOkCancel(const std::string &text) override;

    // After an acknowledgement the next alert is announced again, even for the same stock.
    void forgetAnnounced();

private:
    void announce();

    std::mutex m_mutex;
    Writer m_write;
    std::function<std::string()> m_ringingCode;
    std::string m_announced;
};

} // namespace lark
