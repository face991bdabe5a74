#include "gui/window_main.h"

#include "gui/lark_app.h"
#include "launch/command_line.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace lark {
namespace {

// Position 0,0 and always-on-top need X11: on a Wayland session the window goes through
// XWayland unless the user chose a platform.
void preferX11OnWayland()
{
    const char *session = std::getenv("XDG_SESSION_TYPE");
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    if (session && std::strcmp(session, "wayland") == 0 && !(platform && *platform))
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
}

bool haveDisplay()
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char *value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

} // namespace

int runWindow(const CommandLine &options, const LaunchSetup &setup, const char *program)
{
    preferX11OnWayland();
    if (!haveDisplay()) {
        std::cerr << "lark: no display to show the window on; use --console for the text "
                     "front end\n";
        return 1;
    }
    std::vector<std::string> arguments {program};
    arguments.insert(arguments.end(), options.passThrough.begin(), options.passThrough.end());
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(arguments.size());

    LarkApp app(argc, argv.data());
    app.initInstance(setup);
    return app.exec();
}

} // namespace lark
