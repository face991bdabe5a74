#include "gui/window_main.h"

#include "base/terminal_text.h"
#include "gui/lark_app.h"
#include "launch/command_line.h"

#include <QtGlobal>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <utility>
#include <vector>

namespace lark::ui {
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

// While the application object is being made, Qt's messages wait here. A display that cannot
// be opened ends the program with one line and status 1 instead of an abort and a core;
// otherwise they go out as usual once the application stands.
std::vector<std::pair<QtMsgType, QString>> g_heldMessages;

void holdMessage(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type != QtFatalMsg) {
        g_heldMessages.emplace_back(type, text);
        return;
    }
    const char *display = std::getenv("WAYLAND_DISPLAY");
    display = display && *display ? display : std::getenv("DISPLAY");
    std::cerr << "lark: cannot open the display " << terminalText(display ? display : "")
              << "; use --console for the text front end" << std::endl;
    std::_Exit(1);
}

void releaseMessages(QtMessageHandler previous)
{
    qInstallMessageHandler(previous);
    for (const auto &[type, text] : std::exchange(g_heldMessages, {}))
        previous(type, QMessageLogContext(), text);
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

    const QtMessageHandler previous = qInstallMessageHandler(holdMessage);
    LarkApp app(argc, argv.data());
    releaseMessages(previous);
    app.initInstance(setup);
    return app.exec();
}

} // namespace lark::ui
