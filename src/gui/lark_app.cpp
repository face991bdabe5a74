#include "gui/lark_app.h"

#include "gui/dialogs/about_dialog.h"
#include "gui/dialogs/exclamation_box.h"
#include "gui/forms.h"
#include "gui/lark_doc.h"
#include "gui/main_frame.h"
#include "gui/view/lark_view.h"
#include "launch/instance_lock.h"
#include "launch/launch_setup.h"
#include "launch/quit_signals.h"
#include "launch/registry_settings.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QTranslator>

#include <clocale>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace lark::ui {
namespace {

int g_quitPipe[2] = {-1, -1};

void onQuitSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] ssize_t written = ::write(g_quitPipe[1], &byte, 1);
}

} // namespace

// Every text of the program is Chinese, so the toolkit's own dialogs and buttons are too.
bool installToolkitTranslations(QCoreApplication &app)
{
    auto *toolkitTexts = new QTranslator(&app);
    if (toolkitTexts->load(QStringLiteral("qtbase_zh_CN"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return QCoreApplication::installTranslator(toolkitTexts);
    delete toolkitTexts;
    return false;
}

LarkApp::LarkApp(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // QApplication took the user's locale; numbers in settings and on the wire use '.'.
    std::setlocale(LC_NUMERIC, "C");
    setApplicationName(QStringLiteral("Lark"));
    // The window hides to the tray; only the exit command ends the program.
    setQuitOnLastWindowClosed(false);
    loadResources();
    setWindowIcon(QIcon(QStringLiteral(":/res/lark.png")));
    installToolkitTranslations(*this);
}

LarkApp::~LarkApp() = default;

void LarkApp::initInstance(const LaunchSetup &setup)
{
    m_figures = setup.live  ? FigureSource::Live
        : setup.simulated() ? FigureSource::Simulated
                            : FigureSource::QuoteServer;
    m_settings = std::make_unique<RegistrySettings>(setup.registryRoot);
    m_settings->prepare();
    EngineConfig config = engineConfig(setup, *m_settings);

    m_doc = std::make_unique<LarkDoc>();
    m_frame = std::make_unique<MainFrame>();
    connect(m_frame.get(), &MainFrame::settingsNotSaved, this, &LarkApp::reportUnsavedSettings);
    connect(m_frame.get(), &MainFrame::closed, this, &QCoreApplication::quit);
    connect(m_frame.get(), &MainFrame::appCommand, this, &LarkApp::onCommand);
    m_frame->view()->initialUpdate(std::move(config), [&setup] { return setup.marketText(); });
    watchQuitSignals();
    // A second start on the same settings touches this one's lock file (see InstanceLock).
    m_frame->restoreWhenTouched(
        QString::fromStdString(InstanceLock::lockFile(setup.registryRoot).string()));
    m_frame->show();
}

void LarkApp::onCommand(Command id)
{
    if (id == Command::About)
        onAbout();
    else if (id == Command::Exit)
        onExit();
}

void LarkApp::onAbout()
{
    const std::string site = m_frame->view()->engine().webPageUrl("/");
    AboutDialog dialog(m_figures, QString::fromStdString(site), m_frame.get());
    dialog.exec();
}

void LarkApp::onExit()
{
    if (m_frame)
        m_frame->close();
}

// A box when the user closed the window; when a signal ended the run (the session is ending,
// or a script stopped it) nobody may be there to answer one.
void LarkApp::reportUnsavedSettings()
{
    const std::string text = unsavedSettingsMessage(m_settings->root());
    if (m_quitBySignal)
        std::fprintf(stderr, "lark: %s\n", text.c_str());
    else
        showExclamation(nullptr, QString::fromStdString(text));
}

// A signal handler may only write to a pipe; the notifier turns the byte into the exit command
// on this thread.
void LarkApp::watchQuitSignals()
{
    if (::pipe2(g_quitPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_quitPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(g_quitPipe[0], bytes, sizeof bytes) > 0) { }
        m_quitBySignal = true;
        onExit();
    });
    onQuitSignals(onQuitSignal, true);
}

} // namespace lark::ui
