#include "console/console_front_end.h"

#include "console/console_desktop.h"
#include "console/console_list.h"
#include "console/console_table.h"
#include "engine/detail_texts.h"
#include "engine/engine.h"
#include "launch/launch_setup.h"
#include "launch/registry_settings.h"

#include <csignal>
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

void installQuitHandlers()
{
    struct sigaction action
    {
    };
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    // A closed terminal (SIGHUP) ends the run as SIGTERM does: settings saved.
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
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

void showDetail(const LaunchSetup &setup, const std::string &code, std::ostream &out)
{
    QuoteSession session(setup.quoteServer);
    QuoteRecord record;
    if (!session.connect()) {
        out << "严重错误发生!!!" << std::endl;
        return;
    }
    QuoteOutcome outcome = fetchQuote(session, code, record);
    if (outcome == QuoteOutcome::Failed)
        return;
    out << detailTable(outcome == QuoteOutcome::Valid
                           ? detailTexts(record, code, 0, systemLocalTime())
                           : rejectedDetailTexts(code));
}

int runInteractive(Engine &engine, ConsoleList &list, ConsoleDesktop &desktop,
                   const LaunchSetup &setup)
{
    bool inputOpen = true;
    std::string line;
    std::cout << "Lark " << (setup.simulated() ? "(模拟行情) " : "") << "— 回车确认警报, q 回车退出"
              << std::endl;
    // One table per pass: drawn once the list has been quiet for a moment.
    bool pending = false;
    auto lastChange = std::chrono::steady_clock::now();
    while (!g_quitSignal) {
        auto now = std::chrono::steady_clock::now();
        if (list.takeChanged()) {
            pending = true;
            lastChange = now;
        } else if (pending && now - lastChange >= std::chrono::milliseconds(300)) {
            pending = false;
            std::cout << quoteTable(list.rows(), engine.interfaceSize(), list.status())
                      << std::flush;
        }
        if (!readLine(line, inputOpen)) {
            if (!inputOpen)
                ::usleep(200'000);
            continue;
        }
        if (line == "q")
            break;
        if (auto code = engine.beginAcknowledge()) {
            desktop.forgetAnnounced();
            showDetail(setup, *code, std::cout);
            engine.finishAcknowledge();
        }
    }
    return 0;
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

    std::ostream &notices = options.once ? std::cerr : std::cout;
    ConsoleList list;
    Engine *enginePointer = nullptr;
    ConsoleDesktop desktop(notices, [&enginePointer] { return enginePointer->ringingAlert(); });
    Engine engine(config, list, desktop);
    enginePointer = &engine;
    engine.start();

    installQuitHandlers();
    int result = 0;
    if (options.once) {
        while (!engine.waitForNetworkThread(std::chrono::milliseconds(200)) && !g_quitSignal) { }
        engine.stop();
        for (const auto &row : list.rows())
            std::cout << joinedRow(row) << '\n';
        std::cout << std::flush;
        if (list.status() != "Halvern--Orvale") {
            std::cerr << "lark: " << list.status() << std::endl;
            result = 1;
        }
    } else {
        result = runInteractive(engine, list, desktop, setup);
    }
    engine.stop();
    if (engine.settingsSaveFailed())
        std::cerr << "lark: " << unsavedSettingsMessage(setup.registryRoot) << std::endl;
    return result;
}

} // namespace lark
