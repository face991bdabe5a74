#include "support/engine_fixture.h"
#include "support/pinned.h"

#include <algorithm>

using namespace lark;
using namespace lark::test;
using namespace std::chrono;

namespace {

struct Alerts : EngineFixture
{
    // Two stocks that both rise through a stored 1 % threshold on the first pass.
    Engine &startWithTwoAlarms()
    {
        server.pin("0001", pinnedPrices(10000, 10500));
        server.pin("0002", pinnedPrices(10000, 10600));
        storeValue("16", "  1.00");
        storeValue("17", "  1.00");
        config.passLimit = 1;
        return startEngine();
    }

    size_t count(const std::string &event) const
    {
        auto events = desktop.events();
        return size_t(std::count(events.begin(), events.end(), event));
    }
};

} // namespace

TEST_F(Alerts, ChartsOpenAtOnceButAlertsRingOneAfterTheOther)
{
    Engine &engine = startWithTwoAlarms();
    ASSERT_TRUE(desktop.waitFor([&] { return desktop.urls().size() == 2; }));
    EXPECT_NE(desktop.urls()[0].find("/stksrv_curve/Chart.asp?ZXYHID=&ZXSXID=&STYLE=SSQX&STKNO="),
              std::string::npos);
    ASSERT_TRUE(desktop.waitFor([&] { return count("tone") >= 3 && count("alert") >= 3; }));
    EXPECT_EQ(engine.activeAlerts(), 2);

    auto first = engine.beginAcknowledge();
    ASSERT_TRUE(first);
    // The first alert stops ringing, but the second waits until the user has seen the first.
    ASSERT_TRUE(desktop.waitFor([&] { return engine.activeAlerts() == 1; }));
    size_t tonesAfterStop = count("tone");
    std::this_thread::sleep_for(milliseconds(100));
    EXPECT_EQ(count("tone"), tonesAfterStop);
    EXPECT_EQ(engine.lastAlert(), *first);

    engine.finishAcknowledge();
    ASSERT_TRUE(desktop.waitFor([&] { return engine.lastAlert() != *first; }));
    ASSERT_TRUE(desktop.waitFor([&] { return count("tone") > tonesAfterStop; }));
    auto second = engine.beginAcknowledge();
    ASSERT_TRUE(second);
    EXPECT_NE(*first, *second);
    engine.finishAcknowledge();
    ASSERT_TRUE(desktop.waitFor([&] { return engine.activeAlerts() == 0; }));
    EXPECT_FALSE(engine.beginAcknowledge()); // nothing left to acknowledge
}

TEST_F(Alerts, AcknowledgementBeforeTheThreadWaitsIsNotLost)
{
    Engine &engine = startWithTwoAlarms();
    ASSERT_TRUE(desktop.waitFor([&] { return engine.activeAlerts() == 2 && count("tone") > 0; }));
    // Acknowledge and close the detail view at once, before the ringing thread gets to wait.
    ASSERT_TRUE(engine.beginAcknowledge());
    engine.finishAcknowledge();
    ASSERT_TRUE(desktop.waitFor([&] { return engine.activeAlerts() == 1; }));
    ASSERT_TRUE(engine.beginAcknowledge()
                || desktop.waitFor([&] { return engine.beginAcknowledge().has_value(); }));
    engine.finishAcknowledge();
    EXPECT_TRUE(desktop.waitFor([&] { return engine.activeAlerts() == 0; }));
}

TEST_F(Alerts, OptionsDecideWhatAnAlertDoes)
{
    server.pin("0001", pinnedPrices(10000, 10500));
    storeValue("16", "  1.00");
    config.passLimit = 1;
    Engine &engine = startEngine();
    {
        std::lock_guard lock(engine.settingsLock);
        engine.options.chartOnAlarm = 0;
        engine.options.ringOn = 0;
    }
    ASSERT_TRUE(desktop.waitFor([&] { return count("alert") >= 2; }));
    EXPECT_TRUE(desktop.urls().empty());
    EXPECT_EQ(count("tone"), 0u);
    {
        std::lock_guard lock(engine.settingsLock);
        engine.options.flashOn = 0;
    }
    std::this_thread::sleep_for(milliseconds(50));
    size_t flashes = count("alert");
    std::this_thread::sleep_for(milliseconds(50));
    EXPECT_EQ(count("alert"), flashes); // silent and dark, but still waiting to be acknowledged
    EXPECT_EQ(engine.activeAlerts(), 1);
}

TEST_F(Alerts, ShutdownReleasesRingingAndQueuedAlerts)
{
    Engine &engine = startWithTwoAlarms();
    ASSERT_TRUE(desktop.waitFor([&] { return engine.activeAlerts() == 2; }));
    auto started = steady_clock::now();
    engine.shutdown();
    EXPECT_LT(steady_clock::now() - started, milliseconds(500));
}
