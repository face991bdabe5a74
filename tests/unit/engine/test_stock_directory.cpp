#include "base/gbk.h"
#include "engine/stock_directory.h"
#include "protocol/query_paths.h"
#include "protocol/quote_record.h"
#include "protocol/quote_session.h"
#include "protocol/ranking_reply.h"
#include "protocol/stock_code.h"
#include "protocol/wire_format.h"
#include "quoteserver/quote_server.h"

#include <gtest/gtest.h>

using namespace lark;

namespace {

// count records; the first `markers` carry the marker byte; record k's code is its number.
StockList list(int count, int markers, char marker)
{
    std::string bytes;
    for (int k = 0; k < count; ++k) {
        std::string record(16, '\0');
        record[0] = k < markers ? marker : 0;
        std::string code = std::to_string(k);
        code.resize(6, ' ');
        record.replace(1, 6, code);
        record.replace(7, 8, "NAME" + std::to_string(k % 10) + "   ");
        bytes += record;
    }
    return StockList::fromReply(bytes, marker);
}

StockDirectory loaded(int shCount, int shSkip, int szCount, int szSkip)
{
    StockLists lists {list(shCount, shSkip, wire::kShanghaiSkipMarker),
                      list(szCount, szSkip, wire::kShenzhenSkipMarker), true, true};
    StockDirectory directory;
    directory.load(lists);
    return directory;
}

} // namespace

TEST(StockDirectory, NumbersSkipMarkersAndCrossIntoShenzhen)
{
    StockDirectory d = loaded(1000, 12, 500, 20);
    EXPECT_EQ(d.stockCodeAt(0), "12    ");
    EXPECT_EQ(d.stockCodeAt(987), "999   ");
    EXPECT_EQ(d.stockCodeAt(1000), "20    ");
    EXPECT_EQ(d.stockNameAt(1000), "NAME0   ");
    EXPECT_EQ(d.stockCodeAt(1479), "499   ");
}

// Negative numbers name no stock, not even the marker records they would reach.
TEST(StockDirectory, PositionsOutsideAListGiveBlanks)
{
    StockDirectory d = loaded(1000, 12, 500, 20);
    for (int number : {990, 1480, -1, -13, -100000, 2'000'000'000}) {
        EXPECT_EQ(d.stockCodeAt(number), "     ") << number;
        EXPECT_EQ(d.stockNameAt(number), "       ") << number;
    }
    StockDirectory empty;
    EXPECT_EQ(empty.stockCodeAt(0), "     ");
    EXPECT_EQ(empty.stockNameAt(0), "       ");
}

TEST(StockDirectory, MarkersCountOnlyInTheirOwnMarket)
{
    std::string bytes(32, '\0');
    bytes[0] = wire::kShenzhenSkipMarker;
    bytes[16] = wire::kShanghaiSkipMarker;
    EXPECT_EQ(StockList::fromReply(bytes, wire::kShanghaiSkipMarker).skip, 1);
    EXPECT_EQ(StockList::fromReply(bytes, wire::kShenzhenSkipMarker).skip, 1);
    EXPECT_EQ(StockList::fromReply(bytes + "tail", wire::kShanghaiSkipMarker).count, 2);
    EXPECT_EQ(StockList::fromReply(std::string(15, '\0'), wire::kShanghaiSkipMarker).count, 0);
}

TEST(StockDirectory, RankingNumbersResolveToStocksTheQuoteQueryConfirms)
{
    quoteserver::QuoteServer server;
    server.freezeClock(1'700'000'000);
    QuoteSession session {{"127.0.0.1", server.start()}};
    ASSERT_TRUE(session.connect());
    StockDirectory directory;
    directory.load(fetchStockMessages(session));
    ASSERT_TRUE(directory.isLoaded());
    int checked = 0;
    for (int board = 0; board < 4; ++board) {
        auto reply = session.query(rankingPath(board, 3, 0, 16), wire::kRankingReadLimit);
        ASSERT_TRUE(reply);
        RankingPage page = parseRanking(*reply);
        ASSERT_FALSE(page.records.empty()) << board;
        for (const RankingRecord &r : page.records) {
            std::string code(untilNul(directory.stockCodeAt(r.stockNumber)));
            std::string name = gbkToUtf8(untilNul(directory.stockNameAt(r.stockNumber)));
            QuoteRecord quote;
            ASSERT_EQ(fetchQuote(session, code, quote), QuoteOutcome::Valid) << code;
            EXPECT_EQ(quote.name, name) << code;
            EXPECT_EQ(quote.last, r.last) << code;
            EXPECT_EQ(quote.previousClose, r.previousClose) << code;
            EXPECT_EQ(isShanghaiCode(code), board < 2) << code;
            ++checked;
        }
    }
    EXPECT_GE(checked, 40);
}
