// The live source's readers against replies recorded byte for byte as the public services
// send them (tests/data/live/).
#include "base/gbk.h"
#include "quoteserver/live/eastmoney_boards.h"
#include "quoteserver/live/eastmoney_history.h"
#include "quoteserver/live/market_symbol.h"
#include "quoteserver/live/tencent_quotes.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>

using namespace lark;
using namespace lark::quoteserver;

namespace {

std::string recorded(const std::string &name)
{
    std::ifstream in(std::string(LARK_LIVE_DATA) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    EXPECT_FALSE(bytes.str().empty()) << name;
    return bytes.str();
}

std::string nameOf(const Quote &q)
{
    return gbkToUtf8(q.nameGbk);
}

struct QuoteCase
{
    const char *file;
    const char *symbol;
    Outcome outcome;
    const char *name;
    int32_t last, previousClose, open, high, low, volume, amount;
    int32_t bid1Price, bid1Volume, ask1Price, ask1Volume;
};

const QuoteCase kQuoteCases[] = {
    // Normal lines: prices in thousandths, lots as shares, 10,000 yuan as yuan.
    {"tencent_watch_list.txt", "sz000001", Outcome::Answered, "平安银行", 11520, 11470, 11460,
     11580, 11430, 68453200, 788530000, 11510, 165000, 11520, 90500},
    {"tencent_watch_list.txt", "sh600061", Outcome::Answered, "国投资本", 7480, 7400, 7410, 7520,
     7380, 21350800, 159450000, 7470, 131200, 7480, 52400},
    // Two blanks and a full-width letter: exactly the 8 bytes of the field.
    {"tencent_watch_list.txt", "sz000002", Outcome::Answered, "万  科Ａ", 7030, 7110, 7100, 7130,
     6980, 120487700, 850030000, 7020, 342200, 7030, 112000},
    // Limit up: nobody sells, the asks are zeros.
    {"tencent_watch_list.txt", "sz000004", Outcome::Answered, "国华网安", 19870, 18060, 18300,
     19870, 18210, 9653200, 184220000, 19870, 1532200, 0, 0},
    // Opening auction: no open, high, low or volume yet.
    {"tencent_auction.txt", "sh600519", Outcome::Answered, "贵州茅台", 1548000, 1536600, 0, 0, 0, 0,
     0, 1548000, 4200, 1548000, 1100},
    // Suspended: no trade, the price stands at the previous close.
    {"tencent_suspended.txt", "sz000403", Outcome::Answered, "派林生物", 20150, 20150, 0, 0, 0, 0,
     0, 0, 0, 0, 0},
    // Names past 8 bytes are cut at a character; turnover past 32 bits stays at the top.
    {"tencent_long_names.txt", "sz301707", Outcome::Answered, "N展芯股", 116520, 23450, 108000,
     129900, 106880, 21477300, INT32_MAX, 116510, 1200, 116520, 600},
    {"tencent_long_names.txt", "sh688981", Outcome::Answered, "中芯国际", 89300, 88160, 88200,
     89880, 87950, 41203300, INT32_MAX, 89290, 2500, 89300, 800},
    // Missing fields: too few of them, or an empty turnover.
    {"tencent_missing_fields.txt", "sh600061", Outcome::Failed, "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
     0},
    {"tencent_missing_fields.txt", "sz000001", Outcome::Failed, "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
     0},
};

TEST(LiveParsers, TencentQuoteLinesGiveTheProtocolFigures)
{
    for (const QuoteCase &c : kQuoteCases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.symbol);
        const auto lines = parseTencentQuotes(recorded(c.file));
        ASSERT_TRUE(lines);
        const auto line = lines->find(c.symbol);
        ASSERT_NE(line, lines->end());
        ASSERT_EQ(line->second.outcome, c.outcome);
        if (c.outcome != Outcome::Answered)
            continue;
        const Quote &q = line->second.value.quote;
        EXPECT_EQ(nameOf(q), c.name);
        EXPECT_LE(q.nameGbk.size(), 8u);
        const int32_t got[]
            = {q.last,   q.previousClose, q.open,       q.high,      q.low,       q.volume,
               q.amount, q.bid1Price,     q.bid1Volume, q.ask1Price, q.ask1Volume};
        const int32_t want[]
            = {c.last,   c.previousClose, c.open,       c.high,      c.low,       c.volume,
               c.amount, c.bid1Price,     c.bid1Volume, c.ask1Price, c.ask1Volume};
        for (size_t i = 0; i < std::size(got); ++i)
            EXPECT_EQ(got[i], want[i]) << "figure " << i;
    }
}

TEST(LiveParsers, TencentRepliesWithoutQuotesAndTheMomentOfALine)
{
    // An unknown code: the service's none-match line, no line of its own.
    const auto unknown = parseTencentQuotes(recorded("tencent_unknown.txt"));
    ASSERT_TRUE(unknown);
    EXPECT_TRUE(unknown->empty());
    // An error page or a cut reply is no reply.
    EXPECT_FALSE(parseTencentQuotes(recorded("error_page.html")));
    EXPECT_FALSE(parseTencentQuotes("v_sh600061=\"1~"));
    EXPECT_FALSE(parseTencentQuotes(""));
    // 10:35:12 is 65.2 minutes of trading; the auction counts as the open, lunch as 11:30.
    const auto lines = parseTencentQuotes(recorded("tencent_watch_list.txt"));
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->at("sz000001").value.date, 20250314);
    EXPECT_DOUBLE_EQ(lines->at("sz000001").value.sessionMinute, 65.2);
    EXPECT_EQ(sessionMinuteOf(92012), 0);
    EXPECT_EQ(sessionMinuteOf(121500), 120);
    EXPECT_EQ(sessionMinuteOf(133000), 150);
    EXPECT_EQ(sessionMinuteOf(151502), 240);
}

TEST(LiveParsers, DailyBars)
{
    const auto bars = parseKlines(recorded("kline_1.600061.json"));
    ASSERT_TRUE(bars);
    ASSERT_EQ(bars->outcome, Outcome::Answered);
    ASSERT_EQ(bars->value.size(), 6u);
    const DayRecord &first = bars->value.front();
    EXPECT_EQ(first.date, 20250307);
    EXPECT_EQ(first.open, 7300);
    EXPECT_EQ(first.close, 7350);
    EXPECT_EQ(first.high, 7410);
    EXPECT_EQ(first.low, 7260);
    EXPECT_EQ(first.volumeLots, 265410);
    EXPECT_EQ(first.amountThousands, 195238);
    EXPECT_EQ(bars->value.back().date, 20250314);

    const auto none = parseKlines(recorded("kline_none.json"));
    ASSERT_TRUE(none);
    EXPECT_EQ(none->outcome, Outcome::Unknown);
    const auto empty = parseKlines(recorded("kline_empty.json"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->outcome, Outcome::Answered);
    EXPECT_TRUE(empty->value.empty());
    for (const char *bad : {"kline_short_bar.json", "error_page.html"})
        EXPECT_FALSE(parseKlines(recorded(bad))) << bad;
}

TEST(LiveParsers, BoardPages)
{
    const auto list = parseBoardPage(recorded("boards_sz_a.json"));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->total, 8);
    ASSERT_EQ(list->rows.size(), 8u);
    EXPECT_EQ(list->rows[1].instrument, *instrumentOf("000002"));
    EXPECT_EQ(gbkToUtf8(list->rows[1].nameGbk), "万  科Ａ");
    EXPECT_EQ(gbkToUtf8(list->rows[7].nameGbk), "N展芯股");

    const auto ranking = parseBoardPage(recorded("ranking_sz_a.json"));
    ASSERT_TRUE(ranking);
    ASSERT_EQ(ranking->rows.size(), 9u);
    const Quote &limitUp = ranking->rows[1].quote;
    EXPECT_EQ(limitUp.last, 19870);
    EXPECT_EQ(limitUp.bid1Price, 19870);
    EXPECT_EQ(limitUp.ask1Price, 0); // "-": nobody sells
    EXPECT_EQ(limitUp.volume, 9653200);
    EXPECT_EQ(ranking->rows[0].quote.amount, INT32_MAX);
    const Quote &suspended = ranking->rows[8].quote;
    EXPECT_EQ(suspended.previousClose, 20150);
    EXPECT_EQ(suspended.last, 20150);
    EXPECT_EQ(suspended.open, 0);
    EXPECT_EQ(suspended.volume, 0);

    const auto pastEnd = parseBoardPage(recorded("clist_past_end.json"));
    ASSERT_TRUE(pastEnd);
    EXPECT_TRUE(pastEnd->rows.empty());
    EXPECT_FALSE(parseBoardPage(recorded("error_page.html")));
    EXPECT_FALSE(parseBoardPage("{\"data\":{\"total\":3}}"));
}

TEST(LiveParsers, TheCodeDecidesTheMarket)
{
    const struct
    {
        const char *code;
        const char *symbol; // "" for none
    } cases[] = {
        {"0001", "sz000001"},
        {"600061", "sh600061"},
        {"900901", "sh900901"},
        {"510300", "sh510300"},
        {"000001", "sz000001"},
        {"300750", "sz300750"},
        {"200011", "sz200011"},
        {"830799", ""},
        {"60006", ""},
        {"abcd", ""},
        {"", ""},
        {"60006a", ""},
    };
    for (const auto &c : cases) {
        const auto symbol = instrumentOf(c.code);
        EXPECT_EQ(symbol ? quoteSymbol(*symbol) : "", c.symbol) << c.code;
    }
    EXPECT_EQ(eastmoneySecid(*instrumentOf("900901")), "1.900901");
    EXPECT_EQ(eastmoneySecid(*instrumentOf("0001")), "0.000001");
}

} // namespace
