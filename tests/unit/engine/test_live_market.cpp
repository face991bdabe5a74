// The engine on the built-in quote server's live market, its public services replayed on
// loopback, through an outage of the services.
#include "engine/engine.h"
#include "launch/launch_setup.h"
#include "launch/registry_settings.h"
#include "live_timing.h"
#include "quoteserver/quote_server.h"
#include "support/recording_ports.h"
#include "upstream_replay.h"

#include <gtest/gtest.h>

#include <thread>
#include <unistd.h>

using namespace lark;
using namespace lark::test;
using namespace std::chrono;

namespace {

struct LiveMarket : ::testing::Test
{
    UpstreamReplay replay {LARK_LIVE_DATA};
    std::filesystem::path root = std::filesystem::temp_directory_path()
        / ("lark-live-engine-" + std::to_string(::getpid()));
    LaunchSetup setup;
    RegistrySettings settings {root / "registry"};
    RecordingList list;
    RecordingDesktop desktop;
    std::unique_ptr<Engine> engine;

    void SetUp() override
    {
        std::filesystem::remove_all(root);
        replay.start();
        quoteserver::QuoteServerOptions options;
        options.live.emplace();
        options.live->upstreams = loopbackUpstreams(replay.url());
        options.live->cacheDir = root / "cache";
        options.live->timing = fastLiveTiming();
        options.live->clock = [] { return recordedMorning(); };
        setup.builtInServer = std::make_unique<quoteserver::QuoteServer>(options);
        setup.live = true;
        EngineConfig config;
        config.quoteServer = config.chartServer = config.webSite
            = {"127.0.0.1", setup.builtInServer->start()};
        config.pauseUnit = milliseconds(10);
        config.timeouts.stalled = seconds(2);
        config.settings = &settings;
        engine = std::make_unique<Engine>(config, list, desktop);
    }

    void TearDown() override
    {
        engine.reset();
        setup.builtInServer.reset();
        std::filesystem::remove_all(root);
    }

    std::string lastOf(const std::string &code)
    {
        for (const auto &row : list.rows())
            if (row.size() > 2 && row[0] == code)
                return row[2];
        return {};
    }
};

TEST_F(LiveMarket, AnOutageKeepsTheRowsTellsTheUserAndFiguresResumeAfterIt)
{
    engine->start();
    ASSERT_TRUE(list.waitFor([&] { return lastOf("600061") == "  7.48"; }));
    EXPECT_EQ(setup.marketText(), "实时行情");
    ASSERT_TRUE(list.waitFor([&] { return list.rows().size() == 16; }));

    replay.stop();
    ASSERT_TRUE(list.waitFor([&] { return setup.marketText().starts_with("实时行情: 自 "); }));
    const auto rows = list.rows();
    std::this_thread::sleep_for(milliseconds(500)); // some ten passes
    EXPECT_EQ(list.rows(), rows) << "no row changed, none turned invalid";

    replay.setQuotesFile("tencent_watch_list_later.txt");
    replay.start();
    EXPECT_TRUE(list.waitFor([&] { return lastOf("600061") == "  7.51"; }));
    EXPECT_TRUE(list.waitFor([&] { return setup.marketText() == "实时行情"; }));

    const auto stopping = steady_clock::now();
    engine->stop();
    EXPECT_LT(steady_clock::now() - stopping, milliseconds(500));
}

} // namespace
