// What the quote server encodes, the client decodes to the same figures.
#include "base/gbk.h"
#include "engine/stock_directory.h"
#include "protocol/day_history.h"
#include "protocol/quote_record.h"
#include "protocol/ranking_reply.h"
#include "protocol/stock_messages.h"
#include "protocol/wire_format.h"
#include "quoteserver/wire_replies.h"

#include <gtest/gtest.h>

using namespace lark;
using namespace lark::quoteserver;

namespace {

// Every figure different, and some negative, so a field read at the wrong offset shows.
Quote distinctQuote(int32_t seed)
{
    Quote q;
    int32_t value = seed;
    for (int32_t QuoteFigures::*figure : wire::kQuoteFigureOrder) {
        value += 1013;
        q.*figure = value % 3 == 0 ? -value : value;
    }
    q.nameGbk = utf8ToGbk("国投资本");
    return q;
}

} // namespace

TEST(WireRoundTrip, QuotesRankingsHistoriesAndListsDecodeAsEncoded)
{
    const Quote quote = distinctQuote(7);
    const QuoteRecord record = QuoteRecord::decode(encodeQuote(quote));
    EXPECT_EQ(static_cast<const QuoteFigures &>(record), static_cast<const QuoteFigures &>(quote));
    EXPECT_EQ(record.name, "国投资本");
    EXPECT_EQ(encodeQuote(quote).size(), wire::kQuoteSize);

    quoteserver::RankingPage page {40, {}};
    for (int32_t n = 0; n < wire::kRankingPageMax; ++n)
        page.rows.push_back({n * 3, distinctQuote(n)});
    const lark::RankingPage parsed = parseRanking(encodeRanking(page));
    ASSERT_EQ(parsed.records.size(), page.rows.size());
    EXPECT_FALSE(parsed.isLast);
    for (size_t k = 0; k < page.rows.size(); ++k) {
        const Quote &q = page.rows[k].quote;
        const RankingRecord &r = parsed.records[k];
        EXPECT_EQ(r.stockNumber, page.rows[k].number);
        EXPECT_EQ((std::array {r.previousClose, r.last, r.bid1Price, r.ask1Price, r.volume}),
                  (std::array {q.previousClose, q.last, q.bid1Price, q.ask1Price, q.volume}));
    }

    std::vector<DayRecord> days;
    for (int32_t k = 0; k < 6; ++k)
        days.push_back({20261130 + k, 1, 2, 3, 4, 1000 * (k + 1), 5});
    EXPECT_EQ(dayHistoryVolumes(encodeHistory(days)),
              (std::vector<int32_t> {1000, 2000, 3000, 4000, 5000}));

    const std::vector<ListedStock> entries {
        {static_cast<uint8_t>(wire::kShanghaiSkipMarker), "1A0001", utf8ToGbk("上证指数")},
        {0, "600061", utf8ToGbk("国投资本")},
        {0, "600062", utf8ToGbk("华润双鹤")}};
    StockLists lists;
    lists.shanghai = StockList::fromReply(encodeStockList(entries), wire::kShanghaiSkipMarker);
    lists.shenzhen = StockList::fromReply(encodeStockList({{0, "000001", "x"}}), 0x20);
    lists.shanghaiReceived = lists.shenzhenReceived = true;
    StockDirectory directory;
    directory.load(lists);
    EXPECT_EQ(lists.shanghai.skip, 1);
    EXPECT_EQ(directory.stockCodeAt(1), "600062");
    EXPECT_EQ(gbkToUtf8(untilNul(directory.stockNameAt(0))), "国投资本");
    EXPECT_EQ(directory.stockCodeAt(3), "000001");
}
