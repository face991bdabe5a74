#include "console/console_front_end.h"
#include "launch/command_line.h"
#include "launch/launch_setup.h"
#ifdef LARK_WITH_WINDOW
#include "gui/window_main.h"
#endif

#include <cstdlib>
#include <iostream>
#include <stdexcept>

int main(int argc, char *argv[])
{
    auto parsed = lark::parseCommandLine({argv + 1, argv + argc}, std::getenv);
    if (!parsed.error.empty()) {
        std::cerr << "lark: " << parsed.error << " (lark --help lists the options)\n";
        return 2;
    }
    if (parsed.options.help) {
        std::cout << lark::commandLineHelp();
        return 0;
    }
    try {
        lark::LaunchSetup setup = lark::prepareLaunch(parsed.options, std::getenv);
#ifdef LARK_WITH_WINDOW
        if (!parsed.options.console)
            return lark::runWindow(parsed.options, setup, argv[0]);
#endif
        return lark::runConsole(parsed.options, setup);
    } catch (const std::exception &e) {
        std::cerr << "lark: " << e.what() << std::endl;
        return 1;
    }
}
