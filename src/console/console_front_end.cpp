#include "console/console_front_end.h"

#include "console/console_desktop.h"
#include "console/console_list.h"
#include "console/console_table.h"
#include "console/console_view.h"
#include "console/terminal/notice_board.h"
#include "console/terminal/terminal_view.h"
#include "engine/detail_texts.h"
#include "engine/engine.h"
#include "launch/launch_setup.h"
#include "launch/quit_signals.h"
#include "launch/registry_settings.h"

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <poll.h>
#include <unistd.h>

namespace lark {
namespace {

// A one-shot run ends in this time whatever the server does.
constexpr std::chrono::seconds kOnceRunLimit {115};

volatile std::sig_atomic_t g_quitSignal = 0;

void onQuitSignal(int)
{
    g_quitSignal = 1;
}

// Waits for a line on standard input; false on time-out, end of input or a signal.
bool readLine(std::string &line, bool &inputOpen)
{
    pollfd fd {STDIN_FILENO, POLLIN, 0};
    if (!inputOpen || ::poll(&fd, 1, 200) <= 0)
        return false;
    if (!std::getline(std::cin, line)) {
        inputOpen = false;
        return false;
    }
    return true;
}

// The full quote of a stock, fetched on a connection of its own; empty when the query failed.
std::string detailReport(const LaunchSetup &setup, const std::string &code)
{
    QuoteSession session(setup.quoteServer);
    QuoteRecord record;
    if (!session.connect())
        return "严重错误发生!!!\n";
    QuoteOutcome outcome = fetchQuote(session, code, record);
    if (outcome == QuoteOutcome::Failed)
        return {};
    return detailTable(outcome == QuoteOutcome::Valid
                           ? detailTexts(record, code, 0, systemLocalTime())
                           : rejectedDetailTexts(code));
}

// Down a pipe: the title once, a table after every pass, the full quote on acknowledgement.
class PipedView : public ConsoleView
{
public:
    PipedView(const std::string &title, int interfaceSize, const ConsoleList &list)
        : m_interfaceSize(interfaceSize)
        , m_list(list)
    {
        std::cout << title << std::endl;
    }
    void listSettled() override
    {
        std::cout << quoteTable(m_list.rows(), m_interfaceSize, m_list.status()) << std::flush;
    }
    void marketChanged(const std::string &market) override { std::cout << market << std::endl; }
    bool showDetail(const std::string &text) override
    {
        std::cout << text;
        return false;
    }

private:
    const int m_interfaceSize;
    const ConsoleList &m_list;
};

// Enter closes the full quote on show, or acknowledges the ringing alert and shows its stock's
// full quote; returns whether a full quote is on show.
bool onEnter(Engine &engine, ConsoleDesktop &desktop, const LaunchSetup &setup, ConsoleView &view,
             bool detailShown)
{
    if (detailShown) {
        view.closeDetail();
        engine.finishAcknowledge();
        return false;
    }
    auto code = engine.beginAcknowledge();
    if (!code)
        return false;
    desktop.forgetAnnounced();
    const bool shown = view.showDetail(detailReport(setup, *code));
    if (!shown)
        engine.finishAcknowledge();
    return shown;
}

int runInteractive(Engine &engine, ConsoleList &list, ConsoleDesktop &desktop,
                   const LaunchSetup &setup, ConsoleView &view)
{
    bool inputOpen = true;
    bool detailShown = false;
    std::string line;
    std::string market = setup.marketText();
    // One table per pass: drawn once the list has been quiet for a moment.
    bool pending = false;
    auto lastChange = std::chrono::steady_clock::now();
    while (!g_quitSignal) {
        auto now = std::chrono::steady_clock::now();
        // The live market failing, or answering again.
        if (std::string latest = setup.marketText(); latest != market) {
            market = latest;
            view.marketChanged(market);
        }
        if (list.takeChanged()) {
            pending = true;
            lastChange = now;
        } else if (pending && !detailShown && now - lastChange >= std::chrono::milliseconds(300)) {
            pending = false;
            view.listSettled();
        }
        view.turn();
        if (!readLine(line, inputOpen)) {
            if (!inputOpen)
                ::usleep(200'000);
            continue;
        }
        if (line == "q")
            break;
        view.lineTyped();
        detailShown = onEnter(engine, desktop, setup, view, detailShown);
    }
    return 0;
}

std::string title(const LaunchSetup &setup)
{
    const std::string market = setup.marketText();
    return "Lark " + (market.empty() ? "" : "(" + market + ") ") + "— 回车确认警报, q 回车退出";
}

bool coloursWanted()
{
    const char *noColour = std::getenv("NO_COLOR");
    return !noColour || !*noColour;
}

} // namespace

int runConsole(const CommandLine &options, LaunchSetup &setup)
{
    RegistrySettings settings(setup.registryRoot);
    settings.prepare();
    EngineConfig config = engineConfig(setup, settings);
    config.passLimit = options.once ? 1 : 0;
    if (options.once)
        config.runLimit = kOnceRunLimit;

    const bool onTerminal = !options.once && TerminalScreen::available();
    NoticeBoard notices;
    std::ostream &noticeStream = options.once ? std::cerr : std::cout;
    ConsoleDesktop::Writer write = [&](const std::string &text) {
        if (onTerminal)
            notices.add(text);
        else
            noticeStream << text << std::flush;
    };
    ConsoleList list;
    Engine *enginePointer = nullptr;
    auto ringingCode = [&enginePointer] { return enginePointer->ringingAlert(); };
    ConsoleDesktop desktop(write, [&enginePointer] { return enginePointer->ringingAlertReason(); });
    Engine engine(config, list, desktop);
    enginePointer = &engine;
    engine.start();

    // Without restarts, so that a signal wakes the wait for input at once.
    onQuitSignals(onQuitSignal, false);
    int result = 0;
    if (options.once) {
        while (!engine.waitForNetworkThread(std::chrono::milliseconds(200)) && !g_quitSignal) { }
        desktop.close();
        engine.stop();
        for (const auto &row : list.rows())
            std::cout << joinedRow(row) << '\n';
        std::cout << std::flush;
        if (const std::string market = setup.marketText(); !market.empty())
            std::cerr << "lark: " << market << std::endl;
        if (engine.startUpOutcome() != StartUpOutcome::Ready) {
            std::cerr << "lark: " << list.status() << std::endl;
            result = 1;
        }
    } else if (onTerminal) {
        TerminalScreen screen(std::cout, &TerminalScreen::outputSize);
        TerminalView view(title(setup), engine.interfaceSize(), {list, notices, ringingCode},
                          screen, coloursWanted());
        result = runInteractive(engine, list, desktop, setup, view);
    } else {
        PipedView view(title(setup), engine.interfaceSize(), list);
        result = runInteractive(engine, list, desktop, setup, view);
    }
    desktop.close();
    engine.stop();
    if (engine.settingsSaveFailed())
        std::cerr << "lark: " << unsavedSettingsMessage(setup.registryRoot) << std::endl;
    return result;
}

} // namespace lark
