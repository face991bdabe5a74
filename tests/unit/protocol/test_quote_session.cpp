#include "protocol/quote_record.h"
#include "protocol/quote_session.h"
#include "quoteserver/quote_server.h"
#include "support/pinned.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace lark;
using namespace std::chrono;

namespace {

struct QuoteSessionTest : ::testing::Test
{
    sim::QuoteServer server;
    int port = server.start();
    QuoteSession session {{"127.0.0.1", port}, {milliseconds(2000), seconds(1)}};

    void SetUp() override { ASSERT_TRUE(session.connect()); }
};

// A port nobody listens on.
int deadPort()
{
    sim::QuoteServer probe;
    int port = probe.start();
    probe.stop();
    return port;
}

} // namespace

TEST_F(QuoteSessionTest, ThousandQueriesShareOneConnection)
{
    QuoteRecord record;
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(fetchQuote(session, i % 2 ? "0001" : "600061", record), QuoteOutcome::Valid);
    EXPECT_EQ(session.connectionsOpened(), 1);
    EXPECT_EQ(server.requestCount("GetStkOneHQWithName"), 1000u);
}

TEST_F(QuoteSessionTest, ValidReplyDecodesThePinnedFigures)
{
    server.pin("600061", test::pinnedPrices(12000, 12340, "测试"));
    QuoteRecord record;
    ASSERT_EQ(fetchQuote(session, "600061", record), QuoteOutcome::Valid);
    EXPECT_EQ(record.name, "测试");
    EXPECT_EQ(record.last, 12340);
    EXPECT_EQ(record.previousClose, 12000);
}

TEST_F(QuoteSessionTest, LongShortAndErrorRepliesAreRejectedByLength)
{
    QuoteRecord record;
    record.last = 777;
    for (size_t length : {0ul, 96ul, 98ul, 200ul, 1ul << 20}) {
        server.injectFault({sim::FaultKind::WrongLength, "0002", 0, length, 500, 1});
        auto reply = session.query(quotePath("0002"), QuoteRecord::kReadLimit);
        ASSERT_TRUE(reply) << length;
        EXPECT_EQ(reply->size(), std::min<size_t>(length, 102)) << length;
        server.injectFault({sim::FaultKind::WrongLength, "0002", 0, length, 500, 1});
        EXPECT_EQ(fetchQuote(session, "0002", record), QuoteOutcome::Rejected) << length;
    }
    server.injectFault({sim::FaultKind::HttpError, "0002", 0, 0, 500, 1});
    EXPECT_EQ(fetchQuote(session, "0002", record), QuoteOutcome::Rejected);
    EXPECT_EQ(record.last, 777); // a rejected reply fills nothing
    // Cutting a long reply short keeps the connection for the next query.
    EXPECT_EQ(fetchQuote(session, "0002", record), QuoteOutcome::Valid);
}

TEST_F(QuoteSessionTest, DroppedConnectionFailsAndTheNextQueryReconnects)
{
    server.injectFault({sim::FaultKind::Drop, "0003", 0, 0, 500, 1});
    QuoteRecord record;
    record.last = 777;
    EXPECT_EQ(fetchQuote(session, "0003", record), QuoteOutcome::Failed);
    EXPECT_EQ(record.last, 777);
    EXPECT_EQ(fetchQuote(session, "0003", record), QuoteOutcome::Valid);
}

TEST(QuoteSession, DeadServerFailsPromptlyAndUnknownHostDoesNotConnect)
{
    QuoteSession session({"127.0.0.1", deadPort()});
    ASSERT_TRUE(session.connect());
    auto started = steady_clock::now();
    EXPECT_FALSE(session.query("/stksrv_curve/version.txt", 11));
    EXPECT_LT(steady_clock::now() - started, seconds(2));
    QuoteSession nowhere({"nonexistent.invalid", 80});
    EXPECT_FALSE(nowhere.connect());
    EXPECT_FALSE(nowhere.query("/", 10));
}

TEST_F(QuoteSessionTest, StalledReplyFailsAfterTheStallTimeout)
{
    server.injectFault({sim::FaultKind::Delay, "0004", 5000, 0, 500, 1});
    auto started = steady_clock::now();
    EXPECT_FALSE(session.query(quotePath("0004"), 102));
    EXPECT_LT(steady_clock::now() - started, milliseconds(3500));
}

TEST_F(QuoteSessionTest, AbortEndsATransferAtOnceAndForGood)
{
    server.injectFault({sim::FaultKind::Delay, "0005", 5000, 0, 500, 1});
    std::thread aborter([this] {
        std::this_thread::sleep_for(milliseconds(100));
        session.abort();
    });
    auto started = steady_clock::now();
    EXPECT_FALSE(session.query(quotePath("0005"), 102));
    EXPECT_LT(steady_clock::now() - started, milliseconds(600));
    aborter.join();
    EXPECT_FALSE(session.query(quotePath("0001"), 102));
}
