#include "console/console_desktop.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

using namespace lark;
using namespace std::chrono;

// Closing the front end must not wait for the tone of a ringing alert, nor let another begin.
TEST(ConsoleDesktop, ClosingEndsTheToneAtOnce)
{
    ::setenv("PULSE_SERVER", "unix:/nonexistent/lark-test", 1); // no sound server: the bell
    std::mutex mutex;
    std::string written;
    ConsoleDesktop desktop(
        [&](const std::string &text) {
            std::lock_guard lock(mutex);
            written += text;
        },
        [] { return std::string("600061 国投资本 价格 7.05 高于预警价 7.00"); });
    std::thread ringer([&] { desktop.playTone(500, 20'000); });
    const auto rang = [&] {
        std::lock_guard lock(mutex);
        return written.find('\a') != std::string::npos;
    };
    for (const auto deadline = steady_clock::now() + seconds(10);
         !rang() && steady_clock::now() < deadline;)
        std::this_thread::sleep_for(milliseconds(5));
    ASSERT_TRUE(rang());
    auto started = steady_clock::now();
    desktop.close();
    ringer.join();
    EXPECT_LT(steady_clock::now() - started, milliseconds(500));
    started = steady_clock::now();
    desktop.playTone(500, 20'000);
    EXPECT_LT(steady_clock::now() - started, milliseconds(500));
    ::unsetenv("PULSE_SERVER");
}
