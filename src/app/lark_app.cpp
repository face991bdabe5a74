#include "lark_app.h"

#include "about_dialog.h"
#include "forms.h"
#include "lark_doc.h"
#include "lark_view.h"
#include "launch_setup.h"
#include "main_frame.h"
#include "popup_menu.h"
#include "settings_store.h"

#include <QIcon>
#include <QSocketNotifier>

#include <clocale>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace lark {
namespace {

int g_quitPipe[2] = {-1, -1};

void onQuitSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] ssize_t written = ::write(g_quitPipe[1], &byte, 1);
}

} // namespace

CLarkApp::CLarkApp(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // QApplication took the user's locale; numbers in settings and on the wire use '.'.
    std::setlocale(LC_NUMERIC, "C");
    setApplicationName(QStringLiteral("Lark"));
    // The window hides to the tray; only the exit command ends the program.
    setQuitOnLastWindowClosed(false);
    ui::loadResources();
    setWindowIcon(QIcon(QStringLiteral(":/res/lark.png")));
}

CLarkApp::~CLarkApp() = default;

void CLarkApp::initInstance(const LaunchSetup &setup)
{
    m_simulated = setup.simulated();
    m_store = std::make_unique<SettingsStore>(setup.registryRoot);
    m_store->provisionMakerKey();
    EngineConfig config = engineConfig(setup, *m_store);

    m_doc = std::make_unique<CLarkDoc>();
    m_frame = std::make_unique<CMainFrame>();
    connect(m_frame.get(), &CMainFrame::closed, this, &QCoreApplication::quit);
    connect(m_frame.get(), &CMainFrame::appCommand, this, &CLarkApp::onCommand);
    m_frame->view()->initialUpdate(std::move(config), m_simulated);
    watchQuitSignals();
    m_frame->show();
}

void CLarkApp::onCommand(int id)
{
    if (id == ui::commands::kAbout)
        onAbout();
    else if (id == ui::commands::kExit)
        onExit();
}

void CLarkApp::onAbout()
{
    ui::CAboutDialog dialog(m_simulated, m_frame.get());
    dialog.exec();
}

void CLarkApp::onExit()
{
    if (m_frame)
        m_frame->close();
}

// A signal handler may only write to a pipe; the notifier turns the byte into the exit command
// on this thread.
void CLarkApp::watchQuitSignals()
{
    if (::pipe2(g_quitPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_quitPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(g_quitPipe[0], bytes, sizeof bytes) > 0) { }
        onExit();
    });
    struct sigaction action
    {
    };
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

} // namespace lark
