// The readers of the day-bar, minute and list services against their replies as public
// repositories recorded them (tests/data/live/SOURCES.md names each), and against replies no
// service should send.
#include "protocol/wire_format.h"
#include "quoteserver/live/eastmoney_boards.h"
#include "quoteserver/live/eastmoney_history.h"
#include "quoteserver/live/market_symbol.h"
#include "quoteserver/live/tencent_bars.h"
#include "recorded_reply.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace lark;
using namespace lark::quoteserver;
using lark::test::recorded;

namespace {

Instrument instrument(const char *code)
{
    return *instrumentOf(code);
}

// The JSON inside a JSONP reply: the service wraps it only when a callback is asked for.
std::string unwrapped(const std::string &jsonp)
{
    return jsonp.substr(jsonp.find('(') + 1, jsonp.rfind(')') - jsonp.find('(') - 1);
}

std::vector<int32_t> figuresOf(const DayRecord &r)
{
    return {r.date, r.open, r.close, r.high, r.low, r.volumeLots, r.amountThousands};
}

using Bars = std::optional<Answer<std::vector<DayRecord>>>;

TEST(LiveParsers, DayBars)
{
    const std::string real = recorded("kline_1.600061.json");
    std::string huge = real, negative = real;
    huge.replace(huge.find("7.30,7.35"), 9, "7.30,866996971464348933");
    negative.replace(negative.find("7.30,7.35"), 9, "7.30,-7.35");
    const struct
    {
        const char *what;
        Bars bars;
        std::optional<Outcome> outcome; // nullopt: a failed reply
        std::vector<int32_t> first = {}; // date, open, close, high, low, lots, thousands of yuan
        size_t count = 0;
    } cases[] = {
        {"eastmoney",
         parseKlines(real),
         Outcome::Answered,
         {20250307, 7300, 7350, 7410, 7260, 265410, 195238},
         6},
        {"eastmoney, a stock it does not know", parseKlines(recorded("kline_none.json")),
         Outcome::Unknown},
        {"eastmoney, listed today", parseKlines(recorded("kline_empty.json")), Outcome::Answered},
        {"eastmoney, bars held back",
         parseKlines(unwrapped(recorded("kline_empty_klines_dktotal_2021.txt"))), std::nullopt},
        {"eastmoney, a short bar", parseKlines(recorded("kline_short_bar.json")), std::nullopt},
        {"eastmoney, an 18-digit close", parseKlines(huge), std::nullopt},
        {"eastmoney, a negative close", parseKlines(negative), std::nullopt},
        {"eastmoney, an error page", parseKlines(recorded("error_page.html")), std::nullopt},
        // The amount comes in 10,000 yuan; Beijing answers "day" where the others "qfqday".
        {"tencent",
         parseTencentBars(recorded("fqkline_sz001216.json"), instrument("001216")),
         Outcome::Answered,
         {20260923, 27660, 28310, 29120, 27660, 570371, 1626332},
         2},
        {"tencent, Beijing",
         parseTencentBars(recorded("fqkline_bj920047.json"), instrument("920047")),
         Outcome::Answered,
         {20260924, 15660, 15300, 15800, 15180, 34267, 52812},
         1},
        {"tencent, another stock's bars",
         parseTencentBars(recorded("fqkline_sz001216.json"), instrument("0001")), std::nullopt},
        {"tencent, no data", parseTencentBars(recorded("ifzq_no_data.json"), instrument("600061")),
         std::nullopt},
        {"tencent, no bars",
         parseTencentBars(R"({"code":0,"data":{"sh600061":{"day":[]}}})", instrument("600061")),
         std::nullopt},
        {"tencent, with a variable in front",
         parseTencentBars(recorded("fqkline_var_qfqday_hk00001_2018.txt"), instrument("600061")),
         std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.bars.has_value(), c.outcome.has_value());
        if (!c.bars)
            continue;
        ASSERT_EQ(c.bars->outcome, *c.outcome);
        ASSERT_EQ(c.bars->value.size(), c.count);
        if (c.count) {
            EXPECT_EQ(figuresOf(c.bars->value.front()), c.first);
        }
    }
    EXPECT_EQ(klineTarget(instrument("900901"), 10).substr(0, 38),
              "/api/qt/stock/kline/get?secid=1.900901");
    EXPECT_EQ(tencentBarsTarget(instrument("600061"), 10),
              "/appstock/app/fqkline/get?param=sh600061,day,,,10,");
}

TEST(LiveParsers, MinutesOfTheDay)
{
    const std::string real = recorded("minute_sz001216.json");
    std::string star = real, negative = real;
    star.replace(star.find("sz001216"), 8, "sh688981"); // the same rows for a STAR stock
    negative.replace(negative.find("28.54"), 5, "-2.54");
    const struct
    {
        const char *what;
        std::optional<Answer<MinuteDay>> day;
        std::vector<PathPoint> points; // empty: a failed reply
    } cases[] = {
        // Volumes since the open in lots; the 15:06 row (after-hours trading) is left out.
        {"lots",
         parseTencentMinutes(real, instrument("001216")),
         {{0, 28050, 2126400}, {1, 28540, 6634600}, {2, 28610, 8991200}, {240, 28400, 42858000}}},
        {"shares",
         parseTencentMinutes(star, instrument("688981")),
         {{0, 28050, 21264}, {1, 28540, 66346}, {2, 28610, 89912}, {240, 28400, 428580}}},
        {"another stock", parseTencentMinutes(real, instrument("0001")), {}},
        {"five days",
         parseTencentMinutes(recorded("minute_5day_sz001216_2026.json"), instrument("001216")),
         {}},
        {"no data", parseTencentMinutes(recorded("ifzq_no_data.json"), instrument("001216")), {}},
        {"a negative price", parseTencentMinutes(negative, instrument("001216")), {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.day.has_value(), !c.points.empty());
        if (!c.day)
            continue;
        EXPECT_EQ(c.day->value.date, 20260924);
        ASSERT_EQ(c.day->value.points.size(), c.points.size());
        for (size_t i = 0; i < c.points.size(); ++i) {
            EXPECT_DOUBLE_EQ(c.day->value.points[i].minute, c.points[i].minute);
            EXPECT_EQ(c.day->value.points[i].price, c.points[i].price);
            EXPECT_EQ(c.day->value.points[i].volume, c.points[i].volume);
        }
    }
    EXPECT_EQ(tencentMinutesTarget(instrument("920002")),
              "/appstock/app/minute/query?code=bj920002");
}

TEST(LiveParsers, BoardPages)
{
    const auto list = parseBoardPage(recorded("boards_sz_a.json"));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->total, 8);
    ASSERT_EQ(list->rows.size(), 8u);
    EXPECT_EQ(list->rows[1].instrument, instrument("000002"));
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
    EXPECT_EQ(ranking->rows[0].quote.amount, wire::kNotCarried); // 2,530,887,340 yuan
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

// Rows whose figures no service sends are left out, never shown clamped; a page longer than the
// service serves is refused whole.
TEST(LiveParsers, BoardPagesOutOfRange)
{
    const auto real = nlohmann::json::parse(recorded("ranking_sz_a.json"));
    const std::pair<const char *, nlohmann::json> figures[]
        = {{"f5", 1e308}, {"f6", -1.0}, {"f2", -19.87}, {"f18", 2147483.648}};
    for (const auto &[field, value] : figures) {
        auto page = real;
        page["data"]["diff"][1][field] = value;
        const auto parsed = parseBoardPage(page.dump());
        ASSERT_TRUE(parsed) << field;
        ASSERT_EQ(parsed->rows.size(), 8u) << field;
        EXPECT_NE(parsed->rows[1].instrument, instrument("000004")) << field;
    }
    for (const size_t rows : {size_t(kBoardPageRows), size_t(kBoardPageRows) + 1, size_t(200001)}) {
        std::string page = R"({"data":{"total":200001,"diff":[)";
        for (size_t i = 0; i < rows; ++i)
            page += std::string(i ? "," : "") + R"({"f12":"000001","f13":0,"f14":"a"})";
        EXPECT_EQ(parseBoardPage(page + "]}}").has_value(), rows <= size_t(kBoardPageRows)) << rows;
    }
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
        {"920002", "bj920002"},
        {"1A0001", "sh000001"},
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
    EXPECT_EQ(eastmoneySecid(instrument("900901")), "1.900901");
    EXPECT_EQ(eastmoneySecid(instrument("0001")), "0.000001");
}

} // namespace
