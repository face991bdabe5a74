#include "protocol/query_paths.h"
#include "support/engine_fixture.h"
#include "support/pinned.h"

#include <algorithm>

using namespace lark;
using namespace lark::test;
using namespace std::chrono;

namespace {

using RefreshLoop = EngineFixture;

int count(const std::vector<std::string> &calls, const std::string &prefix)
{
    return int(std::count_if(calls.begin(), calls.end(),
                             [&](const std::string &c) { return c.rfind(prefix, 0) == 0; }));
}

} // namespace

TEST_F(RefreshLoop, StartsUpAndFillsEverySixteenRows)
{
    config.passLimit = 1;
    Engine &engine = startEngine();
    ASSERT_TRUE(engine.waitForNetworkThread(seconds(20)));
    auto calls = list.calls();
    EXPECT_EQ(calls.front(), "status 正在连接网络,请等待......");
    EXPECT_EQ(count(calls, "status Halvern--Orvale"), 1);
    EXPECT_EQ(engine.startUpOutcome(), StartUpOutcome::Ready);
    EXPECT_TRUE(engine.isNetworkReady());
    EXPECT_EQ(engine.networkReady, 1);
    EXPECT_EQ(engine.stockMessagesLoaded, 1);
    auto rows = list.rows();
    ASSERT_EQ(rows.size(), 16u);
    EXPECT_EQ(rows[0][0], "0001");
    EXPECT_EQ(rows[15][0], "600068");
    for (const auto &row : rows)
        EXPECT_EQ(row.size(), 8u);
    EXPECT_EQ(quoteRequests(), 16u);
    EXPECT_EQ(list.colours().front(), kBlack);
}

TEST_F(RefreshLoop, SmallSizeAsksThreeStocksAPassAndEmptySlotsNone)
{
    storeValue("48", "3");
    storeValue("1", "");
    config.interfaceSize = settings.readInterfaceSize();
    config.passLimit = 1;
    ASSERT_TRUE(startEngine().waitForNetworkThread(seconds(20)));
    EXPECT_EQ(quoteRequests(), 3u); // 0001, then 0003 pulled up into slot 1, 0004
    auto rows = list.rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1][0], "0003");
    EXPECT_EQ(rows[2].size(), 3u);
}

TEST_F(RefreshLoop, EmptySlotShowsAnEmptyRowWithoutARequest)
{
    storeValue("48", "2");
    for (int slot = 5; slot < 16; ++slot)
        storeValue(std::to_string(slot), "");
    config.interfaceSize = 2;
    config.passLimit = 1;
    ASSERT_TRUE(startEngine().waitForNetworkThread(seconds(20)));
    EXPECT_EQ(quoteRequests(), 5u);
    auto rows = list.rows();
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[6], std::vector<std::string>(5));
}

TEST_F(RefreshLoop, ShortReplyShowsTheInvalidRowAndRaisesNoAlarm)
{
    storeValue("16", "  0.01");
    storeValue("17", " -0.01");
    server.pin("0001", pinnedPrices(10000, 10500));
    server.pin("0002", pinnedPrices(10000, 9500));
    server.injectFault({quoteserver::FaultKind::WrongLength, quotePath("0001"), 0, 40, 500, -1});
    config.passLimit = 1;
    ASSERT_TRUE(startEngine().waitForNetworkThread(seconds(20)));
    auto rows = list.rows();
    EXPECT_EQ(
        rows[0],
        (std::vector<std::string> {"0001", "无效值", "---", "---", "---", "---", "---", "---"}));
    // Slot 1's fall alarm fired; slot 0's rise alarm did not.
    ASSERT_TRUE(desktop.waitFor([&] { return desktop.urls().size() == 1; }));
    EXPECT_NE(desktop.urls()[0].find("STKNO=0002&MT=GET"), std::string::npos);
}

TEST_F(RefreshLoop, FailedQueryLeavesTheRowAsItWas)
{
    server.injectFault({quoteserver::FaultKind::Drop, quotePath("0003"), 0, 0, 500, -1});
    config.passLimit = 2;
    ASSERT_TRUE(startEngine().waitForNetworkThread(seconds(20)));
    auto rows = list.rows();
    ASSERT_EQ(rows.size(), 16u);
    EXPECT_TRUE(rows[2].empty()); // never written: padding only
    EXPECT_EQ(rows[3][0], "0004");
}

// The settings accept any characters in a code; those a URL cannot carry travel percent-encoded
// in every path with a code, and the row then shows what the server answered for it.
TEST_F(RefreshLoop, CodesAUrlCannotCarryReachTheServerWhole)
{
    storeValue("0", "00 1");
    storeValue("1", "00#1");
    config.passLimit = 1;
    Engine &engine = startEngine();
    ASSERT_TRUE(engine.waitForNetworkThread(seconds(20)));
    auto rows = list.rows();
    for (const auto &[row, code, onWire] :
         {std::tuple {0, "00 1", "00%201"}, {1, "00#1", "00%231"}}) {
        const std::string query = std::string("?507193&") + onWire;
        EXPECT_EQ(server.requestCount("GetStkOneHQWithNameSZ" + query), 1u) << code;
        EXPECT_EQ(server.requestCount("GetDayHisSZ" + query + "&1&1&"), 1u) << code;
        EXPECT_EQ(
            rows[row],
            (std::vector<std::string> {code, "无效值", "---", "---", "---", "---", "---", "---"}));
        EXPECT_TRUE(engine.chartUrl(code).ends_with(std::string("&STKNO=") + onWire + "&MT=GET"));
    }
    EXPECT_EQ(rows[2][0], "0003");
}

TEST_F(RefreshLoop, RankingSwitchedOnMidPassStopsBeforeTheNextRow)
{
    server.injectFault({quoteserver::FaultKind::Delay, quotePath("0006"), 500, 0, 500, 1});
    Engine &engine = startEngine();
    ASSERT_TRUE(list.waitFor([&] { return quoteAsked("0006") > 0; }));
    Options ranking = engine.optionsSnapshot();
    ranking.rankingOn = 1;
    EXPECT_EQ(engine.applySettings(0, engine.slotSettings(0), ranking),
              SettingsRestart::RankingPass);
    ASSERT_TRUE(list.waitFor([&] { return count(list.calls(), "enable next") == 1; }));
    EXPECT_EQ(quoteAsked("0007"), 0u);
    EXPECT_EQ(server.requestCount("GETORDERHQ"), 1u);
    // Ranking off again starts exactly one refresh loop, which fills the rows again.
    Options watch = engine.optionsSnapshot();
    watch.rankingOn = 0;
    EXPECT_EQ(engine.applySettings(0, engine.slotSettings(0), watch), SettingsRestart::RefreshLoop);
    EXPECT_EQ(engine.applySettings(0, engine.slotSettings(0), watch), SettingsRestart::None);
    EXPECT_TRUE(list.waitFor([&] { return quoteAsked("0007") > 0; }));
}

TEST_F(RefreshLoop, StopDuringTheLongestPauseIsPrompt)
{
    config.pauseUnit = milliseconds(800);
    Engine &engine = startEngine();
    ASSERT_TRUE(waitForRows(16));
    {
        std::lock_guard lock(engine.settingsLock);
        engine.options.refreshSeconds = 60;
    }
    auto started = steady_clock::now();
    engine.shutdown();
    EXPECT_LT(steady_clock::now() - started, milliseconds(500));
}

TEST_F(RefreshLoop, StopDuringAStalledTransferIsPrompt)
{
    server.injectFault({quoteserver::FaultKind::Delay, quotePath("0002"), 20000, 0, 500, -1});
    Engine &engine = startEngine();
    ASSERT_TRUE(list.waitFor([&] { return quoteAsked("0002") > 0; }));
    auto started = steady_clock::now();
    engine.shutdown();
    EXPECT_LT(steady_clock::now() - started, milliseconds(500));
}

TEST_F(RefreshLoop, UnresolvableServerEndsTheThreadWithTheFaultText)
{
    config.quoteServer = {"nonexistent.invalid", 80};
    Engine &engine = startEngine();
    ASSERT_TRUE(engine.waitForNetworkThread(seconds(10)));
    EXPECT_EQ(list.status(), "网络发生故障,请退出!");
    EXPECT_EQ(engine.startUpOutcome(), StartUpOutcome::NetworkFault);
    EXPECT_FALSE(engine.isNetworkReady());
    EXPECT_TRUE(list.rows().empty());
}
