#include "protocol/query_paths.h"
#include "support/engine_fixture.h"
#include "support/pinned.h"

using namespace lark;
using namespace lark::test;
using namespace std::chrono;

namespace {

struct FaultInjection : EngineFixture
{
    // What the user interface thread calls on the engine must never wait on the network.
    void expectUiCallsStayQuick(Engine &engine)
    {
        auto started = steady_clock::now();
        SlotSettings slot = engine.slotSettings(3);
        engine.setCode(3, slot.code);
        Options options = engine.optionsSnapshot();
        engine.applySettings(3, slot, options);
        engine.beginAcknowledge();
        engine.volumeBaselineAt(3);
        EXPECT_LT(steady_clock::now() - started, milliseconds(100));
    }

    std::vector<std::string> rowOf(const std::string &code)
    {
        for (const auto &row : list.rows())
            if (!row.empty() && row[0] == code)
                return row;
        return {};
    }

    // Waits until the row of the code shows the given last-price text.
    bool waitForLast(const std::string &code, const std::string &lastText)
    {
        return list.waitFor([&] {
            auto row = rowOf(code);
            return row.size() > 2 && row[2] == lastText;
        });
    }
};

const std::vector<std::string> kInvalid0002 {"0002", "无效值", "---", "---",
                                             "---",  "---",    "---", "---"};

} // namespace

TEST_F(FaultInjection, BadRepliesGiveTheInvalidRowAndQuotesComeBackAfterwards)
{
    server.pin("0002", pinnedPrices(10000, 10100));
    Engine &engine = startEngine();
    ASSERT_TRUE(waitForLast("0002", " 10.10"));
    for (size_t length : {0ul, 96ul, size_t(1) << 20}) {
        server.injectFault(
            {quoteserver::FaultKind::WrongLength, quotePath("0002"), 0, length, 500, -1});
        ASSERT_TRUE(list.waitFor([&] { return rowOf("0002") == kInvalid0002; })) << length;
        expectUiCallsStayQuick(engine);
        server.clearFaults();
        ASSERT_TRUE(waitForLast("0002", " 10.10")) << length;
    }
    server.injectFault({quoteserver::FaultKind::HttpError, quotePath("0002"), 0, 0, 500, -1});
    ASSERT_TRUE(list.waitFor([&] { return rowOf("0002") == kInvalid0002; }));
    server.clearFaults();
    ASSERT_TRUE(waitForLast("0002", " 10.10"));
}

TEST_F(FaultInjection, ResetOrStalledQueriesKeepTheRowAsItWas)
{
    server.pin("0002", pinnedPrices(10000, 10100));
    Engine &engine = startEngine();
    ASSERT_TRUE(waitForLast("0002", " 10.10"));
    server.pin("0002", pinnedPrices(10000, 10200));
    server.injectFault({quoteserver::FaultKind::Drop, quotePath("0002"), 0, 0, 500, 3});
    ASSERT_TRUE(list.waitFor([&] { return server.requestCount(quotePath("0002")) >= 4; }));
    ASSERT_TRUE(waitForLast("0002", " 10.20"));

    server.pin("0002", pinnedPrices(10000, 10300));
    server.injectFault({quoteserver::FaultKind::Delay, quotePath("0002"), 4000, 0, 500, 1});
    std::this_thread::sleep_for(milliseconds(300));
    EXPECT_EQ(rowOf("0002")[2], " 10.20"); // the stalled query left it alone
    expectUiCallsStayQuick(engine);
    ASSERT_TRUE(waitForLast("0002", " 10.30")); // the stall timed out, the next pass went on
}

TEST_F(FaultInjection, ServerGoneMidRunAndBackLater)
{
    server.pin("0001", pinnedPrices(10000, 10100));
    Engine &engine = startEngine();
    ASSERT_TRUE(waitForLast("0001", " 10.10"));
    const int port = server.port();
    server.stop();
    uint64_t callsWhileDown = list.calls().size();
    std::this_thread::sleep_for(milliseconds(300));
    expectUiCallsStayQuick(engine);
    EXPECT_EQ(rowOf("0001")[2], " 10.10"); // failed queries keep the rows
    EXPECT_EQ(list.status(), "Halvern--Orvale");

    quoteserver::QuoteServerOptions again;
    again.port = port;
    quoteserver::QuoteServer revived(again);
    revived.start();
    revived.pin("0001", pinnedPrices(10000, 10400));
    EXPECT_TRUE(waitForLast("0001", " 10.40"));
    EXPECT_GT(list.calls().size(), callsWhileDown);
    auto started = steady_clock::now();
    engine.shutdown();
    EXPECT_LT(steady_clock::now() - started, milliseconds(500));
}

TEST_F(FaultInjection, ServerDownAtStartThenUpLater)
{
    const int port = server.port();
    server.stop();
    Engine &engine = startEngine();
    ASSERT_TRUE(list.waitFor([&] { return list.status() == "网络发生故障,请退出!"; }));
    EXPECT_EQ(engine.startUpOutcome(), StartUpOutcome::NetworkFault);
    EXPECT_EQ(engine.networkReady, 1);
    EXPECT_EQ(engine.stockMessagesLoaded, 0);
    EXPECT_TRUE(list.rows().empty());

    quoteserver::QuoteServerOptions again;
    again.port = port;
    quoteserver::QuoteServer revived(again);
    revived.start();
    revived.pin("0001", pinnedPrices(10000, 10400));
    EXPECT_TRUE(waitForLast("0001", " 10.40"));
}
