#include "engine/engine.h"

#include "base/c_format.h"
#include "base/gbk.h"
#include "protocol/day_history.h"
#include "protocol/query_paths.h"
#include "protocol/stock_messages.h"
#include "protocol/wire_format.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace lark {
namespace {

constexpr const char *kConnecting = "正在连接网络,请等待......";
constexpr const char *kNetworkFault = "网络发生故障,请退出!";
constexpr const char *kReady = "Halvern--Orvale";
constexpr const char *kOwnVersion = "version=2.0";
constexpr size_t kVersionReadLimit = 11;
constexpr int kVersionCheckDay = 19;

} // namespace

int Engine::networkThread()
{
    m_list.setStatusText(kConnecting);
    m_startUpOutcome = StartUpOutcome::Starting;
    networkReady = 0;
    m_directory.clear();
    ringToken.set();
    {
        std::lock_guard lock(settingsLock);
        tables.resetForStart();
        if (m_config.settings)
            m_config.settings->loadSettings(tables, versionText);
    }
    // A server that accepts and never answers holds the start no longer than this.
    m_session.limitUntil(
        std::min(QuoteSession::Clock::now() + m_config.timeouts.startUp, m_runUntil));
    if (!m_session.connect()) {
        showOutcome(StartUpOutcome::NetworkFault);
        return 0;
    }
    // The start-up queries share the connection that a ranking pass, accepted as soon as the
    // network is ready, would use too: hold the turn until the refresh loop takes over.
    if (!loopToken.wait())
        return 0;
    m_directory.load(fetchStockMessages(m_session));
    if (m_directory.isLoaded())
        stockMessagesLoaded = 1;
    else
        loopFinished.set();
    networkReady = 1;
    showOutcome(stockMessagesLoaded ? StartUpOutcome::Ready : StartUpOutcome::NetworkFault);
    m_list.setTextColour(kBlack);
    computeVolumeBaselines();
    checkForNewVersion();
    m_session.limitUntil(m_runUntil);
    loopToken.set();
    return refreshLoop();
}

void Engine::showOutcome(StartUpOutcome outcome)
{
    m_startUpOutcome = outcome;
    if (outcome == StartUpOutcome::NetworkFault && !quitRequested)
        notePass(false);
    m_list.setStatusText(outcome == StartUpOutcome::Ready ? kReady : kNetworkFault);
}

// Once a month, on the 19th, ask whether to fetch a newer version.
void Engine::checkForNewVersion()
{
    if (quitRequested || m_config.clock().tm_mday != kVersionCheckDay)
        return;
    auto reply = m_session.query(std::string(wire::kVersionPath), kVersionReadLimit);
    if (!reply)
        return;
    std::string text(untilNul(*reply));
    while (!text.empty() && std::strchr(" \t\r\n\v\f", text.back()))
        text.pop_back();
    if (std::strncmp(text.c_str(), kOwnVersion, kVersionReadLimit) <= 0)
        return;
    std::string prompt = cformat("请下载新版Tamberly! 最新版本是%s", gbkToUtf8(text).c_str());
    if (m_desktop.askOkCancel(prompt))
        m_desktop.openUrl(webPageUrl(wire::kDownloadPath));
}

// Once at start-up: the average day volume of the last five trading days of each
// monitored slot. A slot whose history did not arrive keeps its baseline.
void Engine::computeVolumeBaselines()
{
    const int slots = rowCount(m_interfaceSize);
    const DayHistoryDates dates = dayHistoryDates(m_config.clock());
    for (int slot = 0; slot < slots && !quitRequested; ++slot) {
        auto reply = m_session.query(dayHistoryPath(codeAt(slot), dates.start, dates.end),
                                     wire::kHistoryReadLimit);
        if (!reply)
            continue;
        std::vector<int32_t> volumes = dayHistoryVolumes(*reply);
        if (volumes.empty())
            continue;
        int64_t sum = std::accumulate(volumes.begin(), volumes.end(), int64_t(0));
        std::lock_guard lock(settingsLock);
        tables.volumeBaseline[slot] = static_cast<int32_t>(sum / int64_t(volumes.size()));
    }
}

} // namespace lark
