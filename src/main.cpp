#include "console/console_front_end.h"
#include "launch/autostart.h"
#include "launch/command_line.h"
#include "launch/find_command.h"
#include "launch/launch_setup.h"
#ifdef LARK_WITH_WINDOW
#include "gui/window_main.h"
#endif

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>

namespace {

// The arguments an autostart entry carries: all given but the switch itself, the settings
// folder made absolute, since the login starts the program in another folder.
std::vector<std::string> withoutAutostart(const std::vector<std::string> &arguments)
{
    std::vector<std::string> kept;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--autostart") {
            ++i;
        } else if (arguments[i] == "--registry" && i + 1 < arguments.size()) {
            std::error_code error;
            const auto folder = std::filesystem::absolute(arguments[++i], error);
            kept.insert(kept.end(), {"--registry", error ? arguments[i] : folder.string()});
        } else {
            kept.push_back(arguments[i]);
        }
    }
    return kept;
}

int runAutostartSwitch(bool on, const std::vector<std::string> &arguments)
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        std::cerr << "lark: cannot find the program's own path: " << error.message() << '\n';
        return 1;
    }
    return lark::switchAutostart(on, program.string(), withoutAutostart(arguments), std::getenv,
                                 std::cout, std::cerr);
}

} // namespace

int main(int argc, char *argv[])
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    auto parsed = lark::parseCommandLine(arguments, std::getenv);
    if (!parsed.error.empty()) {
        std::cerr << "lark: " << parsed.error << "\nTry 'lark --help' for more information.\n";
        return 2;
    }
    if (parsed.options.help) {
        std::cout << lark::commandLineHelp();
        return 0;
    }
    if (parsed.options.version) {
        std::cout << "lark " LARK_VERSION "\n";
        return 0;
    }
    if (parsed.options.autostart)
        return runAutostartSwitch(*parsed.options.autostart, arguments);
    try {
        if (parsed.options.find)
            return lark::runFind(parsed.options, std::getenv, std::cout, std::cerr);
        lark::LaunchSetup setup = lark::prepareLaunch(parsed.options, std::getenv);
#ifdef LARK_WITH_WINDOW
        if (!parsed.options.console)
            return lark::ui::runWindow(parsed.options, setup, argv[0]);
#endif
        return lark::runConsole(parsed.options, setup);
    } catch (const std::exception &e) {
        std::cerr << "lark: " << e.what() << std::endl;
        return 1;
    }
}
