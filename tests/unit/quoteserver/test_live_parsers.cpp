// The batch quote services' readers against their replies as public repositories recorded
// them (tests/data/live/SOURCES.md names each), and against replies no service should send.
#include "protocol/wire_format.h"
#include "quoteserver/live/decimal_text.h"
#include "quoteserver/live/sina_quotes.h"
#include "quoteserver/live/tencent_quotes.h"
#include "recorded_reply.h"

#include <gtest/gtest.h>

using namespace lark;
using namespace lark::quoteserver;
using lark::test::recorded;
using lark::test::recordedGbk;

namespace {

constexpr int32_t kNot = wire::kNotCarried;

enum Service { Tencent, Sina };

std::optional<QuoteLines> parse(Service service, std::string_view gbk)
{
    return service == Tencent ? parseTencentQuotes(gbk) : parseSinaQuotes(gbk);
}

struct LineCase
{
    Service service;
    const char *file;
    const char *symbol;
    Outcome outcome;
    const char *name = "";
    int32_t last = 0, previousClose = 0, open = 0, high = 0, low = 0, volume = 0, amount = 0;
    int32_t bid1Price = 0, bid1Volume = 0, ask1Price = 0, ask1Volume = 0;
};

const LineCase kLineCases[] = {
    // STAR stocks count shares; the amount is the exact one; 88 fields, no trailing separator.
    {Tencent, "tencent_star_688981_2026.txt", "sh688981", Outcome::Answered, "中芯国际", 119980,
     121390, 121100, 121390, 119630, 18660976, kNot, 119980, 506, 119990, 19},
    {Tencent, "tencent_star_688256_2026.txt", "sh688256", Outcome::Answered, "寒武纪", 1378100,
     1300000, 1292300, 1428010, 1291000, 16559805, kNot, 1378100, 143, 1378350, 2},
    // Every other board counts lots: 87 fields, 88 ending in "~", and a batch of two.
    {Tencent, "tencent_sz_001216_2026.txt", "sz001216", Outcome::Answered, "华瓷股份", 28400, 28310,
     28050, 29500, 27800, 42858000, 1222641481, 28400, 27700, 28410, 3100},
    {Tencent, "tencent_chinext_300308_2026.txt", "sz300308", Outcome::Answered, "中际旭创", 1275000,
     1191810, 1220000, 1320000, 1220000, 34525100, kNot, 1274990, 700, 1275000, 1800},
    {Tencent, "tencent_sh600000_sz000001_2026.txt", "sz000001", Outcome::Answered, "平安银行",
     11300, 11350, 11350, 11470, 11290, 104381900, 1186736896, 11300, 269700, 11310, 261200},
    // An index: its day is beyond the 32-bit fields, which carry no number then.
    {Tencent, "tencent_index_sh000001_2026.txt", "sh000001", Outcome::Answered, "上证指数", 3888370,
     3936520, 3925320, 3930500, 3888370, kNot, kNot, 0, 0, 0, 0},
    // A fund in thousandths, 67 fields (2020).
    {Tencent, "tencent_etf_sh510500_2020.txt", "sh510500", Outcome::Answered, "500ETF", 7224, 7149,
     7147, 7280, 7085, 272478100, 1964297124, 7224, 6300, 7225, 389300},
    // 65 fields without quotes (2019); the amount lags the volume by the newest trade.
    {Tencent, "tencent_sh600470_trades_2019.txt", "sh600470", Outcome::Answered, "六国化工", 4950,
     4980, 5010, 5020, 4940, 9939100, 49475981, 4940, 92100, 4950, 9100},
    // Delisted (status D, all zeros): the code no longer trades.
    {Tencent, "tencent_delisted_sh600472_2019.txt", "sh600472", Outcome::Unknown},
    // Hand-written lines (nobody recorded these): Beijing, a Shenzhen index, a Shenzhen ETF whose
    // name is cut at 8 bytes, a suspension (status S).
    {Tencent, "tencent_watch_list.txt", "bj920002", Outcome::Answered, "万达轴承", 48360, 47900,
     48000, 49100, 47510, 2345600, 113057920, 48350, 1200, 48360, 500},
    {Tencent, "tencent_watch_list.txt", "sz399001", Outcome::Answered, "深证成指", 13316970,
     13480120, 13452660, 13501200, 13290050, kNot, kNot, 0, 0, 0, 0},
    {Tencent, "tencent_watch_list.txt", "sz159915", Outcome::Answered, "创业板ET", 3412, 3389, 3395,
     3430, 3381, 1023456700, kNot, 3411, 512000, 3412, 223100},
    {Tencent, "tencent_status_s_handwritten.txt", "sz000403", Outcome::Answered, "派林生物", 20150,
     20150, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    // Hand-written in an earlier session: two blanks and a full-width letter fill the 8 bytes;
    // limit up has no asks; no volume yet (the auction) or at all (suspended) stands at the
    // previous close; long names are cut at a character.
    {Tencent, "tencent_watch_list.txt", "sh600061", Outcome::Answered, "国投资本", 7480, 7400, 7410,
     7520, 7380, 21350800, 159447208, 7470, 131200, 7480, 52400},
    {Tencent, "tencent_watch_list.txt", "sz000002", Outcome::Answered, "万  科Ａ", 7030, 7110, 7100,
     7130, 6980, 120487700, 850032671, 7020, 342200, 7030, 112000},
    {Tencent, "tencent_watch_list.txt", "sz000004", Outcome::Answered, "国华网安", 19870, 18060,
     18300, 19870, 18210, 9653200, 184223570, 19870, 1532200, 0, 0},
    {Tencent, "tencent_auction.txt", "sh600519", Outcome::Answered, "贵州茅台", 1536600, 1536600, 0,
     0, 0, 0, 0, 1548000, 4200, 1548000, 1100},
    {Tencent, "tencent_suspended.txt", "sz000403", Outcome::Answered, "派林生物", 20150, 20150, 0,
     0, 0, 0, 0, 0, 0, 0, 0},
    {Tencent, "tencent_long_names.txt", "sz301707", Outcome::Answered, "N展芯股", 116520, 23450,
     108000, 129900, 106880, 21477300, kNot, 116510, 1200, 116520, 600},
    {Tencent, "tencent_missing_fields.txt", "sh600061", Outcome::Failed},
    {Tencent, "tencent_missing_fields.txt", "sz000001", Outcome::Failed},
    // Sina counts shares on every board, its amounts in yuan with decimals.
    {Sina, "sina_star_sh688047_2025.txt", "sh688047", Outcome::Answered, "龙芯中科", 131950, 131600,
     131560, 132870, 130820, 1972190, 259739142, 131950, 3237, 132000, 200},
    {Sina, "sina_star_limit_up_sh688047_2024.txt", "sh688047", Outcome::Answered, "龙芯中科",
     119620, 99680, 106000, 119620, 104500, 8256723, 938310086, 119620, 25600, 0, 0},
    {Sina, "sina_index_sz399001_2020.txt", "sz399001", Outcome::Answered, "深证成指", 13637883,
     13466854, 13464207, 13748034, 13399859, kNot, kNot, 0, 0, 0, 0},
    // The same fund on the same day as Tencent's line above, to the share.
    {Sina, "sina_etf_sh510500_2020.txt", "sh510500", Outcome::Answered, "500ETF", 7224, 7149, 7147,
     7280, 7085, 272478144, 1964297124, 7224, 6300, 7225, 389300},
    // The call auction: no trade yet, the matched price only as the first bid, no asks.
    {Sina, "sina_etf_auction_sh510500_2026.txt", "sh510500", Outcome::Answered, "中证500E", 8375,
     8375, 0, 0, 0, 0, 0, 8308, 34400, 0, 0},
    {Sina, "sina_lof_sz162411_2019.txt", "sz162411", Outcome::Answered, "华宝油气", 491, 488, 489,
     492, 488, 133819867, 65623147, 490, 2422992, 491, 5386166},
    {Sina, "sina_empty_and_funds_2019.txt", "sz160922", Outcome::Answered, "恒生中小", 1074, 1074,
     0, 0, 0, 0, 0, 1053, 42000, 1110, 3100},
    {Sina, "sina_sz_after_hours_2021.txt", "sz300418", Outcome::Answered, "昆仑万维", 19930, 18540,
     18550, 20500, 18210, 69455878, 1365979485, 19930, 62875, 19940, 204680},
    // The replay's hand-written Sina lines carry the figures of its Tencent ones.
    {Sina, "sina_watch_list.txt", "sh600061", Outcome::Answered, "国投资本", 7480, 7400, 7410, 7520,
     7380, 21350800, 159447208, 7470, 131200, 7480, 52400},
};

TEST(LiveParsers, QuoteLinesGiveTheProtocolFigures)
{
    for (const LineCase &c : kLineCases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.symbol);
        const auto lines = parse(c.service, recordedGbk(c.file));
        ASSERT_TRUE(lines);
        const auto line = lines->find(c.symbol);
        ASSERT_NE(line, lines->end());
        ASSERT_EQ(line->second.outcome, c.outcome);
        if (c.outcome != Outcome::Answered)
            continue;
        const Quote &q = line->second.value.quote;
        EXPECT_EQ(gbkToUtf8(q.nameGbk), c.name);
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

TEST(LiveParsers, TheMomentOfALine)
{
    const struct
    {
        Service service;
        const char *file, *symbol;
        int32_t date;
        double minute;
    } cases[] = {
        {Tencent, "tencent_watch_list.txt", "sz000001", 20250314, 65.2}, // 10:35:12
        {Tencent, "tencent_star_688981_2026.txt", "sh688981", 20260924, 240}, // after the close
        {Sina, "sina_etf_auction_sh510500_2026.txt", "sh510500", 20260424, 0}, // the auction
        {Sina, "sina_sz_after_hours_2021.txt", "sz300418", 20210913, 240},
    };
    for (const auto &c : cases) {
        const auto lines = parse(c.service, recordedGbk(c.file));
        ASSERT_TRUE(lines) << c.file;
        EXPECT_EQ(lines->at(c.symbol).value.date, c.date) << c.file;
        EXPECT_DOUBLE_EQ(lines->at(c.symbol).value.sessionMinute, c.minute) << c.file;
    }
    EXPECT_EQ(sessionMinuteOf(92012), 0);
    EXPECT_EQ(sessionMinuteOf(121500), 120);
    EXPECT_EQ(sessionMinuteOf(133000), 150);
    EXPECT_EQ(sessionMinuteOf(151502), 240);
}

// Replies that are not the service's, or name codes it does not know.
TEST(LiveParsers, WhatIsAReply)
{
    const std::string html = "<html><body>\nv_sh600061=\"1~a~600061\";\n</body></html>\n";
    const struct
    {
        Service service;
        std::string reply;
        std::optional<size_t> lines; // nullopt: no reply at all
    } cases[] = {
        {Tencent, recordedGbk("tencent_unknown_pv_none_match.txt"), 0},
        {Tencent, recordedGbk("tencent_sh600000_sz000001_2026.txt"), 2},
        {Tencent, recorded("error_page.html"), std::nullopt},
        {Tencent, html, std::nullopt},
        {Tencent, "", std::nullopt},
        {Tencent, "v_hk00700=\"100~a~00700\";\n", std::nullopt}, // not a code asked for
        // A cut line is Failed; it can only be the last one.
        {Tencent, "v_sh600061=\"1~", 1},
        {Tencent, "v_sh600061=\"1~\nv_sz000001=\"51~\";\n", std::nullopt},
        {Sina, recordedGbk("sina_empty_and_funds_2019.txt"), 2}, // sz160923 is ""
        {Sina, recordedGbk("sina_sys_auth_failed.txt"), std::nullopt},
        {Sina, recorded("error_page.html"), std::nullopt},
        {Sina, "var hq_str_sh600061=\"a,1\";\n<p>\n", std::nullopt},
    };
    for (const auto &c : cases) {
        const auto lines = parse(c.service, c.reply);
        ASSERT_EQ(lines.has_value(), c.lines.has_value()) << c.reply;
        if (lines) {
            EXPECT_EQ(lines->size(), *c.lines) << c.reply;
        }
    }
}

// Figures no service sends (taken from a recorded line, one field changed): a price out of range
// refuses the line rather than show a stand-in; counts beyond 32 bits carry no number.
TEST(LiveParsers, FiguresOutOfRange)
{
    const std::string real = recordedGbk("tencent_sz_001216_2026.txt");
    const struct
    {
        size_t field;
        const char *text;
        Outcome outcome;
        int32_t last = 0, volume = 0;
    } cases[] = {
        {3, "866996971464348933", Outcome::Failed}, // wrapped to 7.05 once
        {3, "99999999999", Outcome::Failed}, // clamped to 2147483.65 once
        {3, "-1.00", Outcome::Failed}, // showed the previous close once
        {4, "0.00", Outcome::Failed},
        {9, "-28.40", Outcome::Failed},
        {6, "-428580", Outcome::Failed},
        {35, "28.40/428580/-1222641481", Outcome::Failed},
        {6, "99999999999999", Outcome::Answered, 28400, kNot},
        {3, "0.00", Outcome::Answered, 28310, 42858000}, // no trade yet: the previous close
    };
    for (const auto &c : cases) {
        auto f = splitKeepingEmpty(real, '~');
        f[c.field] = c.text;
        std::string line;
        for (size_t i = 0; i < f.size(); ++i)
            line += (i ? "~" : "") + std::string(f[i]);
        const auto lines = parseTencentQuotes(line);
        ASSERT_TRUE(lines) << c.text;
        const Answer<LiveQuote> &answer = lines->at("sz001216");
        ASSERT_EQ(answer.outcome, c.outcome) << c.text;
        if (c.outcome == Outcome::Answered) {
            EXPECT_EQ(answer.value.quote.volume, c.volume) << c.text;
            EXPECT_EQ(answer.value.quote.last, c.last) << c.text;
        }
    }
    EXPECT_FALSE(scaledDecimal("866996971464348933", 3));
    EXPECT_EQ(scaledDecimal("9223372036854775807", 0), INT64_MAX);
    EXPECT_FALSE(scaledDecimal("9223372036854775808", 0));
    EXPECT_FALSE(scaledCount(INT64_MAX / 10, 100));
    EXPECT_EQ(scaledDecimal("1.2345", 3), 1235);
    EXPECT_FALSE(scaledDecimal("-", 3));
}

TEST(LiveParsers, BatchTargets)
{
    const std::vector<Instrument> batch = {*instrumentOf("600061"), *instrumentOf("0001"),
                                           *instrumentOf("1A0001"), *instrumentOf("920002")};
    EXPECT_EQ(tencentQuotesTarget(batch), "/q=sh600061,sz000001,sh000001,bj920002");
    EXPECT_EQ(sinaQuotesTarget(batch), "/list=sh600061,sz000001,sh000001,bj920002");
}

} // namespace
