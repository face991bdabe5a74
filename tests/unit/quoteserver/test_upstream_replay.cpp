// The replayed services answer as the real ones do: quote lines in GBK, one code's line each,
// the no-data replies, and one service down while the others answer.
#include "base/gbk.h"
#include "quoteserver/live/sina_quotes.h"
#include "quoteserver/live/tencent_bars.h"
#include "quoteserver/live/tencent_quotes.h"
#include "upstream_replay.h"

#include <gtest/gtest.h>
#include <httplib.h>

using namespace lark;
using namespace lark::quoteserver;
using lark::test::UpstreamReplay;

namespace {

struct Reply
{
    int status = 0;
    std::string body;
};

Reply get(const UpstreamReplay &replay, const std::string &target)
{
    httplib::Client client(replay.url());
    const auto result = client.Get(target);
    return result ? Reply {result->status, result->body} : Reply {};
}

TEST(UpstreamReplay, ServesEachServiceFromItsFiles)
{
    UpstreamReplay replay(LARK_LIVE_DATA);
    replay.start();
    const Instrument star = *instrumentOf("688981"), unknown = *instrumentOf("0003"),
                     chinaPorcelain = *instrumentOf("001216");

    const auto quotes = parseTencentQuotes(get(replay, tencentQuotesTarget({star, unknown})).body);
    ASSERT_TRUE(quotes);
    EXPECT_EQ(quotes->size(), 1u); // the unknown code's none-match line has none
    EXPECT_EQ(gbkToUtf8(quotes->at("sh688981").value.quote.nameGbk), "中芯国际");

    const auto sina = parseSinaQuotes(get(replay, sinaQuotesTarget({star, unknown})).body);
    ASSERT_TRUE(sina);
    EXPECT_EQ(sina->size(), 1u);
    EXPECT_EQ(sina->at("sh688981").value.quote, quotes->at("sh688981").value.quote);

    const auto bars
        = parseTencentBars(get(replay, tencentBarsTarget(chinaPorcelain, 10)).body, chinaPorcelain);
    ASSERT_TRUE(bars);
    EXPECT_EQ(bars->value.size(), 2u);
    EXPECT_FALSE(parseTencentBars(get(replay, tencentBarsTarget(unknown, 10)).body, unknown));
    const auto minutes = parseTencentMinutes(get(replay, tencentMinutesTarget(chinaPorcelain)).body,
                                             chinaPorcelain);
    ASSERT_TRUE(minutes);
    EXPECT_EQ(minutes->value.points.size(), 4u);

    std::vector<std::string> kinds;
    for (const auto &r : replay.requests())
        kinds.push_back(r.kind);
    EXPECT_EQ(kinds, (std::vector<std::string> {"quotes", "sina", "bars", "bars", "minutes"}));
}

TEST(UpstreamReplay, OneServiceFailsOnItsOwn)
{
    UpstreamReplay replay(LARK_LIVE_DATA);
    replay.start();
    const std::vector<Instrument> batch = {*instrumentOf("600061")};
    replay.setFailing("sina", true);
    EXPECT_EQ(get(replay, sinaQuotesTarget(batch)).status, 503);
    EXPECT_EQ(get(replay, tencentQuotesTarget(batch)).status, 200);
    replay.setFailing("sina", false);
    EXPECT_EQ(get(replay, sinaQuotesTarget(batch)).status, 200);
    EXPECT_EQ(replay.count("sina"), 2u);
}

} // namespace
