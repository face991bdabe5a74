#include "support/dripping_server.h"
#include "support/engine_fixture.h"

using namespace lark;
using namespace lark::test;
using namespace std::chrono;

namespace {

struct NetworkDeadlines : EngineFixture
{
    DrippingServer silent;

    void SetUp() override
    {
        EngineFixture::SetUp();
        config.quoteServer = {"127.0.0.1", silent.port()};
        config.timeouts = {milliseconds(2000), seconds(10), milliseconds(300), milliseconds(500),
                           milliseconds(1200)};
    }
};

} // namespace

// The whole start against a server that never answers, scaled down: the start gives up when
// its time in all is up, a one-shot run ends at its limit, and closing is prompt throughout.
TEST_F(NetworkDeadlines, StartAgainstASilentServerEndsWithTheFaultTextInTime)
{
    config.runLimit = milliseconds(2000);
    config.passLimit = 1;
    const auto started = steady_clock::now();
    Engine &engine = startEngine();
    ASSERT_TRUE(list.waitFor([&] { return list.status() == "网络发生故障,请退出!"; },
                             config.timeouts.startUp + milliseconds(800)));
    EXPECT_GE(steady_clock::now() - started, config.timeouts.startUp - milliseconds(50));
    EXPECT_TRUE(engine.waitForNetworkThread(config.runLimit + milliseconds(800)));
    EXPECT_GE(steady_clock::now() - started, config.runLimit - milliseconds(50));
}

TEST_F(NetworkDeadlines, ClosingWhileTheServerSaysNothingIsPrompt)
{
    Engine &engine = startEngine();
    ASSERT_TRUE(list.waitFor([&] { return list.status() == "网络发生故障,请退出!"; }));
    std::this_thread::sleep_for(milliseconds(100)); // into the quote queries
    const auto closing = steady_clock::now();
    engine.shutdown();
    EXPECT_LT(steady_clock::now() - closing, milliseconds(500));
}
