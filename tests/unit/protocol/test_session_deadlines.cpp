#include "protocol/quote_session.h"
#include "protocol/stock_messages.h"
#include "support/dripping_server.h"

#include <chrono>
#include <gtest/gtest.h>

using namespace lark;
using namespace std::chrono;

namespace {

// The stall limit alone never ends these: the dripping server sends ten bytes a second.
const SessionTimeouts kShort {milliseconds(2000), seconds(10), milliseconds(400),
                              milliseconds(700)};

} // namespace

TEST(SessionDeadlines, EveryQueryEndsAtItsDeadlineWhateverTheServerDoes)
{
    struct Case
    {
        const char *server;
        milliseconds drip;
        bool list;
        milliseconds deadline;
    };
    for (const Case &c : {Case {"silent", milliseconds(0), false, kShort.query},
                          Case {"dripping", milliseconds(100), false, kShort.query},
                          Case {"silent", milliseconds(0), true, kShort.list},
                          Case {"dripping", milliseconds(100), true, kShort.list}}) {
        test::DrippingServer server(c.drip);
        QuoteSession session({"127.0.0.1", server.port()}, kShort);
        ASSERT_TRUE(session.connect());
        const auto started = steady_clock::now();
        const bool answered = c.list ? session.queryChunks("/list", 1 << 20, [](auto) {})
                                     : session.query("/quote", 102).has_value();
        const auto took = steady_clock::now() - started;
        EXPECT_FALSE(answered) << c.server << (c.list ? " list" : " query");
        EXPECT_GE(took, c.deadline - milliseconds(50)) << c.server;
        EXPECT_LT(took, c.deadline + milliseconds(600)) << c.server;
    }
}

TEST(SessionDeadlines, NoQueryRunsPastTheSessionsLimit)
{
    test::DrippingServer server;
    QuoteSession session({"127.0.0.1", server.port()}, kShort);
    ASSERT_TRUE(session.connect());
    const auto started = steady_clock::now();
    session.limitUntil(started + milliseconds(1200));
    EXPECT_FALSE(fetchStockMessages(session).loaded()); // 51 attempts of 700 ms each
    EXPECT_LT(steady_clock::now() - started, milliseconds(1800));
}
