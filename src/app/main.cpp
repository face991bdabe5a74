#include "command_line.h"
#include "console_front_end.h"
#include "launch_setup.h"

#include <cstdlib>
#include <iostream>
#include <stdexcept>

int main(int argc, char *argv[])
{
    auto parsed = lark::parseCommandLine({argv + 1, argv + argc}, std::getenv);
    if (!parsed.error.empty()) {
        std::cerr << "lark: " << parsed.error << "\n\n" << lark::commandLineHelp();
        return 2;
    }
    if (parsed.options.help) {
        std::cout << lark::commandLineHelp();
        return 0;
    }
    try {
        lark::LaunchSetup setup = lark::prepareLaunch(parsed.options, std::getenv);
        return lark::runConsole(parsed.options, setup);
    } catch (const std::exception &e) {
        std::cerr << "lark: " << e.what() << std::endl;
        return 1;
    }
}
