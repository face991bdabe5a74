#include "protocol/quote_session.h"
#include "protocol/stock_messages.h"
#include "quoteserver/quote_server.h"

#include <gtest/gtest.h>

using namespace lark;

namespace {

struct StockMessagesTest : ::testing::Test
{
    quoteserver::QuoteServer server;
    QuoteSession session {{"127.0.0.1", server.start()}};

    void SetUp() override { ASSERT_TRUE(session.connect()); }
    uint64_t asked(const char *market) const { return server.requestCount(market); }
};

} // namespace

TEST_F(StockMessagesTest, BothMarketsLoadWithTheirMarkersCounted)
{
    StockLists lists = fetchStockMessages(session);
    ASSERT_TRUE(lists.loaded());
    EXPECT_GT(lists.shanghai.count, 300);
    EXPECT_GT(lists.shanghai.skip, 0);
    EXPECT_GT(lists.shenzhen.skip, 0);
    EXPECT_EQ(lists.shenzhen.bytes.size() % 16, 0u);
    EXPECT_EQ(asked("getstkmsgsz"), 1u);
    EXPECT_EQ(asked("getstkmsgsh"), 1u);
}

TEST_F(StockMessagesTest, ReplyInSeveralPiecesIsKeptWhole)
{
    server.injectFault({quoteserver::FaultKind::WrongLength, "getstkmsgsz", 0, 4100, 500, 1});
    StockLists lists = fetchStockMessages(session);
    ASSERT_TRUE(lists.loaded());
    EXPECT_EQ(lists.shenzhen.bytes.size(), 4100u);
    EXPECT_EQ(lists.shenzhen.count, 256);
}

TEST_F(StockMessagesTest, EmptyShenzhenReplyRetriesWithoutAskingShanghai)
{
    server.injectFault({quoteserver::FaultKind::WrongLength, "getstkmsgsz", 0, 0, 500, 2});
    StockLists lists = fetchStockMessages(session);
    EXPECT_TRUE(lists.loaded());
    EXPECT_EQ(asked("getstkmsgsz"), 3u);
    EXPECT_EQ(asked("getstkmsgsh"), 1u);
}

TEST_F(StockMessagesTest, ShortShanghaiReplyFailsTheAttempt)
{
    server.injectFault({quoteserver::FaultKind::WrongLength, "getstkmsgsh", 0, 15, 500, 1});
    StockLists lists = fetchStockMessages(session);
    EXPECT_TRUE(lists.loaded());
    EXPECT_EQ(asked("getstkmsgsz"), 2u);
    EXPECT_EQ(asked("getstkmsgsh"), 2u);
}

TEST_F(StockMessagesTest, ServerThatNeverAnswersUsesAllAttemptsThenGivesUp)
{
    server.injectFault({quoteserver::FaultKind::Drop, "getstkmsg", 0, 0, 500, -1});
    StockLists lists = fetchStockMessages(session);
    EXPECT_FALSE(lists.loaded());
    EXPECT_EQ(asked("getstkmsgsz"), 51u);
    EXPECT_EQ(asked("getstkmsgsh"), 0u);
}

// Every stock number of a ranking page resolves to a code and name that the real-time
// quote for that code confirms.
