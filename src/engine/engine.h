#pragma once

#include "engine/auto_reset_event.h"
#include "engine/directory_keeper.h"
#include "engine/feed_state.h"
#include "engine/local_clock.h"
#include "engine/options.h"
#include "engine/ports.h"
#include "engine/settings_port.h"
#include "engine/slot_settings.h"
#include "engine/stock_directory.h"
#include "engine/thread_set.h"
#include "engine/watch_list.h"
#include "protocol/quote_record.h"
#include "protocol/quote_session.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <string>

namespace lark {

struct EngineConfig
{
    ServerAddress quoteServer {"127.0.0.1", 80};
    ServerAddress chartServer {"127.0.0.1", 80};
    ServerAddress webSite {"127.0.0.1", 80};
    SessionTimeouts timeouts;
    int interfaceSize = 1;
    LocalClock clock = systemLocalTime;
    // The refresh pause is refreshSeconds of these; tests shorten it.
    std::chrono::milliseconds pauseUnit {800};
    // One flash phase of an alert.
    std::chrono::milliseconds flashPhase {300};
    SettingsPort *settings = nullptr;
    // Passes the refresh loop runs before it ends by itself; 0 = until stopped.
    int passLimit = 0;
    // No query runs later than this after start(); 0 = no limit.
    std::chrono::milliseconds runLimit {0};
};

// How the start went, as the status text tells it.
enum class StartUpOutcome { Starting, Ready, NetworkFault };

// The monitoring engine: shared watch list and options, the worker threads and their flags
// and events, the alert state. It reaches the screen only through its two ports.
// A front end uses the intent methods (they take the locks themselves) and never its locks or
// fields; the ranking page is the user-interface thread's.
class Engine
{
public:
    Engine(EngineConfig config, QuoteListPort &list, DesktopPort &desktop);
    ~Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    // Starts the network thread: settings, connection, directory, baselines, refresh loop.
    void start();
    // Waits until the network thread has ended (connection failed, or its loop finished).
    bool waitForNetworkThread(std::chrono::milliseconds timeout);
    // Wakes every pause and wait, aborts the transfer in progress, joins every thread.
    void shutdown();
    // shutdown(), then the settings saved. Safe to call twice.
    void stop();
    // True when stop() could not store every setting.
    bool settingsSaveFailed() const { return m_settingsSaveFailed; }

    bool startRefreshLoop();
    bool startRankingPass(int page);

    // The page zones: in ranking mode with the stock lists loaded, stops the refresh loop and
    // starts a pass for the page step pages on (never below 0); nullopt at any other time.
    std::optional<int> turnRankingPage(int step);
    int rankingPage() const { return m_rankingPage; }
    // The interface size for the next start (the running one keeps its size).
    void chooseNextInterfaceSize(int size);
    // Ready for the settings command: the network thread has connected and asked for the
    // stock lists.
    bool isNetworkReady() const { return networkReady != 0; }
    StartUpOutcome startUpOutcome() const { return m_startUpOutcome; }
    // Connecting, or failing since when, and when the last whole pass ended. Any thread.
    FeedState feedState();

    // Tray acknowledgement: the code of the ringing alert when one is active (its ringing
    // stops); finishAcknowledge() once the user has seen it lets the next alert ring.
    std::optional<std::string> beginAcknowledge();
    void finishAcknowledge();

    int interfaceSize() const { return m_interfaceSize; }
    const EngineConfig &config() const { return m_config; }
    std::string chartUrl(std::string_view code) const;
    std::string webPageUrl(std::string_view path) const;

    // Shared state, under settingsLock.
    std::mutex settingsLock;
    WatchTables tables;
    Options options;
    std::string versionText;
    int nextInterfaceSize = 0;

    Options optionsSnapshot();
    SlotSettings slotSettings(int slot);
    // The settings command's OK; the ranking page goes back to 0.
    SettingsRestart applySettings(int slot, const SlotSettings &settings, const Options &chosen);
    // In-place edit of a row's code.
    void setCode(int slot, std::string_view code);
    std::string codeAt(int slot);
    int32_t volumeBaselineAt(int slot);

    std::atomic<int> networkReady {0};
    std::atomic<int> stockMessagesLoaded {0};
    std::atomic<int> quitRequested {0};
    std::atomic<int> refreshStopRequested {0};

    AutoResetEvent loopToken {true};
    AutoResetEvent loopFinished;
    AutoResetEvent ringToken;
    AutoResetEvent alertAcknowledged;

    // The instruments the code fields offer once the stock lists are in, null before and while
    // it is being built (at the first ask, on a thread of its own); whenReady is called on
    // that thread once a later ask will have it. Any thread.
    std::shared_ptr<const InstrumentDirectory> instrumentDirectory(std::function<void()> whenReady
                                                                   = {});

    int activeAlerts();
    std::string lastAlert();
    // The code of the alert ringing now; empty while none rings or its stop was asked for.
    std::string ringingAlert();
    // Why the alert ringing now rang: the stock, its name, the rule, the figure and the
    // threshold; empty while none rings.
    std::string ringingAlertReason();

private:
    int networkThread();
    void showOutcome(StartUpOutcome outcome);
    int refreshLoop();
    // false when the row's query got no reply.
    bool handleRow(int row);
    void notePass(bool everyReply);
    void writeRow(int row, const std::vector<std::string> &texts);
    bool loopShouldStop();
    void storeSettings();
    bool pause(std::chrono::milliseconds duration);

    void computeVolumeBaselines();
    void checkForNewVersion();
    void checkAlarms(int slot, const QuoteRecord &record, float changePct);
    void raiseAlert(const std::string &code, const std::string &reason);
    int alertThread(std::string code, std::string reason);
    void ringOnce(const Options &options);

    int rankingThread(int page);
    void writeRankingRow(int row, const struct RankingRecord &record);

    EngineConfig m_config;
    QuoteListPort &m_list;
    DesktopPort &m_desktop;
    const int m_interfaceSize;
    QuoteSession m_session;
    StockDirectory m_directory;
    std::atomic<bool> m_lastPage {false};
    std::atomic<int> m_rankingPage {0};
    std::atomic<StartUpOutcome> m_startUpOutcome {StartUpOutcome::Starting};

    std::mutex m_alertLock;
    int m_activeAlertCount = 0;
    bool m_alertStopRequested = true; // also while no alert holds the ring token
    std::string m_lastAlertCode;
    std::string m_lastAlertReason;

    std::mutex m_feedLock;
    FeedState m_feed;

    std::mutex m_pauseMutex;
    std::condition_variable m_pauseWake;
    std::atomic<bool> m_stopped {false};
    std::atomic<bool> m_settingsSaveFailed {false};
    AutoResetEvent m_networkDone;
    QuoteSession::Clock::time_point m_runUntil = QuoteSession::Clock::time_point::max();
    DirectoryKeeper m_lookup {
        [this](std::function<void()> work) { return m_threads.start(std::move(work)); },
        quitRequested};
    ThreadSet m_threads; // last: its threads end before anything they use
};

} // namespace lark
