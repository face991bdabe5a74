#include "support/engine_fixture.h"

#include <algorithm>

using namespace lark;
using namespace lark::test;

namespace {

struct RankingPass : EngineFixture
{
    // Ranking mode on the given board with the loop already handed over.
    Engine &startRanking(int board, int interfaceSize = 1)
    {
        config.interfaceSize = interfaceSize;
        Engine &engine = startEngine();
        EXPECT_TRUE(list.waitFor([&] { return engine.networkReady == 1; }));
        Options ranking = engine.optionsSnapshot();
        ranking.rankingOn = 1;
        ranking.rankingMarket = board;
        engine.applySettings(0, engine.slotSettings(0), ranking);
        EXPECT_TRUE(waitForPasses(1));
        return engine;
    }

    // The passes were asked for and the last one handed the list back.
    bool waitForPasses(uint64_t passes)
    {
        if (!list.waitFor([&] { return server.requestCount("GETORDERHQ") >= passes; }))
            return false;
        if (!engine->loopToken.waitFor(std::chrono::seconds(10)))
            return false;
        engine->loopToken.set();
        return true;
    }

    std::vector<std::string> buttons() const
    {
        std::vector<std::string> enabled;
        for (const std::string &call : list.calls())
            if (call.rfind("enable", 0) == 0)
                enabled.push_back(call);
        return enabled;
    }
};

using Buttons = std::vector<std::string>;

} // namespace

TEST_F(RankingPass, FullFirstPageEnablesOnlyNext)
{
    startRanking(0);
    EXPECT_EQ(buttons(), Buttons {"enable next"});
    auto rows = list.rows();
    ASSERT_EQ(rows.size(), 16u);
    EXPECT_EQ(rows[0].size(), 8u);
    EXPECT_EQ(rows[0][0].size(), 6u);
}

TEST_F(RankingPass, ShortSecondPageEnablesOnlyPrevious)
{
    Engine &engine = startRanking(1); // Shanghai B: fewer than 32 stocks
    engine.startRankingPass(1);
    ASSERT_TRUE(waitForPasses(2));
    auto rows = list.rows();
    EXPECT_GT(rows.size(), 0u);
    EXPECT_LT(rows.size(), 16u);
    EXPECT_EQ(buttons(), (Buttons {"enable next", "enable previous"}));
}

TEST_F(RankingPass, SmallSizePageOfThreeIsTheLastAndKeepsAllColumns)
{
    Engine &engine = startRanking(2, 3);
    engine.startRankingPass(2);
    ASSERT_TRUE(waitForPasses(2));
    EXPECT_EQ(server.requestCount("GETORDERHQ?507193&0&0&3&6&3"), 1u);
    auto rows = list.rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].size(), 8u); // columns the size lacks are still written
    EXPECT_EQ(buttons(), Buttons {"enable previous"});
}

TEST_F(RankingPass, FailedQueryLeavesTheListEmptyAndTheButtonsAlone)
{
    server.injectFault({quoteserver::FaultKind::Drop, "GETORDERHQ", 0, 0, 500, -1});
    startRanking(0);
    EXPECT_TRUE(list.rows().empty());
    EXPECT_TRUE(buttons().empty());
}

TEST_F(RankingPass, PageTurnsStopAtZeroAndConfirmedSettingsGoBackToIt)
{
    Engine &engine = startRanking(0);
    EXPECT_EQ(engine.turnRankingPage(-1), 0);
    ASSERT_TRUE(waitForPasses(2));
    EXPECT_EQ(engine.refreshStopRequested, 1);
    EXPECT_EQ(engine.turnRankingPage(1), 1);
    ASSERT_TRUE(waitForPasses(3));
    EXPECT_EQ(server.requestCount("GETORDERHQ?507193&1&0&3&16&16"), 1u);
    engine.applySettings(0, engine.slotSettings(0), engine.optionsSnapshot());
    EXPECT_EQ(engine.rankingPage(), 0);

    Options watching = engine.optionsSnapshot();
    watching.rankingOn = 0;
    engine.applySettings(0, engine.slotSettings(0), watching);
    EXPECT_EQ(engine.turnRankingPage(1), std::nullopt);
    EXPECT_EQ(engine.rankingPage(), 0);
}

TEST_F(RankingPass, SameBoardAndKeyStartsNothingNewKeyStartsPageZero)
{
    Engine &engine = startRanking(0);
    Options same = engine.optionsSnapshot();
    EXPECT_EQ(engine.applySettings(0, engine.slotSettings(0), same), SettingsRestart::None);
    same.rankingSortKey = 1;
    EXPECT_EQ(engine.applySettings(0, engine.slotSettings(0), same), SettingsRestart::RankingPass);
    ASSERT_TRUE(waitForPasses(2));
    EXPECT_EQ(server.requestCount("GETORDERHQ?507193&1&0&1&0&16"), 1u);
}
