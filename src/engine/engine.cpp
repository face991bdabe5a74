#include "engine/engine.h"

#include "protocol/query_paths.h"

namespace lark {

Engine::Engine(EngineConfig config, QuoteListPort &list, DesktopPort &desktop)
    : m_config(std::move(config))
    , m_list(list)
    , m_desktop(desktop)
    , m_interfaceSize(validInterfaceSize(m_config.interfaceSize))
    , m_session(m_config.quoteServer, m_config.timeouts)
{ }

Engine::~Engine()
{
    stop();
}

void Engine::start()
{
    if (m_config.runLimit.count() > 0)
        m_runUntil = QuoteSession::Clock::now() + m_config.runLimit;
    m_threads.start([this] {
        networkThread();
        m_networkDone.set();
    });
}

bool Engine::waitForNetworkThread(std::chrono::milliseconds timeout)
{
    return m_networkDone.waitFor(timeout);
}

std::shared_ptr<const InstrumentDirectory>
Engine::instrumentDirectory(std::function<void()> whenReady)
{
    if (!stockMessagesLoaded)
        return nullptr;
    return m_lookup.directory(m_directory.lists(), std::move(whenReady));
}

void Engine::stop()
{
    if (m_stopped.exchange(true))
        return;
    shutdown();
    if (m_config.settings) {
        std::lock_guard lock(settingsLock);
        m_settingsSaveFailed = !m_config.settings->saveSettings(tables, m_interfaceSize,
                                                                nextInterfaceSize, versionText);
    }
}

void Engine::shutdown()
{
    quitRequested = 1;
    {
        std::lock_guard lock(m_pauseMutex);
    }
    m_pauseWake.notify_all();
    for (AutoResetEvent *event : {&loopToken, &loopFinished, &ringToken, &alertAcknowledged})
        event->interrupt();
    m_session.abort();
    m_threads.closeAndJoin();
    m_directory.clear();
    m_session.close();
}

bool Engine::startRefreshLoop()
{
    return m_threads.start([this] { refreshLoop(); });
}

bool Engine::startRankingPass(int page)
{
    return m_threads.start([this, page] { rankingThread(page); });
}

// Sleeps unless the program is quitting; false when it is.
bool Engine::pause(std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_pauseMutex);
    return !m_pauseWake.wait_for(lock, duration, [this] { return quitRequested != 0; });
}

Options Engine::optionsSnapshot()
{
    std::lock_guard lock(settingsLock);
    return options;
}

std::string Engine::codeAt(int slot)
{
    std::lock_guard lock(settingsLock);
    return tables.watchCodes[slot];
}

int32_t Engine::volumeBaselineAt(int slot)
{
    std::lock_guard lock(settingsLock);
    return tables.volumeBaseline[slot];
}

std::string Engine::chartUrl(std::string_view code) const
{
    return m_config.chartServer.baseUrl() + chartPagePath(code);
}

std::string Engine::webPageUrl(std::string_view path) const
{
    return m_config.webSite.baseUrl() + std::string(path);
}

} // namespace lark
