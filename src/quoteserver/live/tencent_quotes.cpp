#include "quoteserver/live/tencent_quotes.h"

#include "base/gbk.h"
#include "quoteserver/live/decimal_text.h"
#include "quoteserver/model_time.h"

#include <array>

namespace lark::quoteserver {
namespace {

enum Field : size_t {
    Name = 1,
    Last = 3,
    PreviousClose = 4,
    Open = 5,
    VolumeLots = 6,
    Bid1Price = 9,
    Ask1Price = 19,
    Time = 30,
    High = 33,
    Low = 34,
    AmountTenThousands = 37,
    FieldCount
};

std::optional<int32_t> price(std::string_view text)
{
    const auto value = scaledDecimal(text, 3);
    return value ? std::optional(saturated(*value)) : std::nullopt;
}

std::optional<int32_t> lotsAsShares(std::string_view text)
{
    const auto lots = scaledDecimal(text, 0);
    return lots ? std::optional(saturated(*lots * 100)) : std::nullopt;
}

// Bids from field 9, asks from 19: price and lots, three levels of the five.
bool readBook(const std::vector<std::string_view> &f, size_t first,
              const std::array<int32_t *, 3> &prices, const std::array<int32_t *, 3> &volumes)
{
    for (size_t level = 0; level < 3; ++level) {
        const auto p = price(f[first + 2 * level]);
        const auto v = lotsAsShares(f[first + 2 * level + 1]);
        if (!p || !v)
            return false;
        *prices[level] = *p;
        *volumes[level] = *v;
    }
    return true;
}

Answer<LiveQuote> readLine(std::string_view value)
{
    const auto f = splitKeepingEmpty(value, '~');
    if (f.size() < FieldCount || f[Time].size() != 14)
        return Answer<LiveQuote>::failed();
    LiveQuote t;
    Quote &q = t.quote;
    const auto last = price(f[Last]), previousClose = price(f[PreviousClose]),
               open = price(f[Open]), high = price(f[High]), low = price(f[Low]),
               volume = lotsAsShares(f[VolumeLots]);
    const auto amount = scaledDecimal(f[AmountTenThousands], 4);
    const auto date = scaledDecimal(f[Time].substr(0, 8), 0),
               clock = scaledDecimal(f[Time].substr(8), 0);
    const bool book = readBook(f, Bid1Price, {&q.bid1Price, &q.bid2Price, &q.bid3Price},
                               {&q.bid1Volume, &q.bid2Volume, &q.bid3Volume})
        && readBook(f, Ask1Price, {&q.ask1Price, &q.ask2Price, &q.ask3Price},
                    {&q.ask1Volume, &q.ask2Volume, &q.ask3Volume});
    if (!book || !last || !previousClose || !open || !high || !low || !volume || !amount || !date
        || !clock)
        return Answer<LiveQuote>::failed();
    q.nameGbk = protocolNameFromUtf8(gb18030ToUtf8(f[Name]));
    // No trade yet today: the price stands at the previous close, not at nothing.
    q.last = *last > 0 ? *last : *previousClose;
    q.previousClose = *previousClose;
    q.open = *open;
    q.high = *high;
    q.low = *low;
    q.volume = *volume;
    q.amount = saturated(*amount);
    t.date = static_cast<int32_t>(*date);
    t.sessionMinute = sessionMinuteOf(static_cast<int>(*clock));
    return Answer<LiveQuote>::of(std::move(t));
}

} // namespace

std::string tencentQuotesTarget(const std::vector<Instrument> &symbols)
{
    std::string target = "/q=";
    for (const Instrument &s : symbols) {
        if (target.size() > 3)
            target += ',';
        target += quoteSymbol(s);
    }
    return target;
}

std::optional<QuoteLines> parseTencentQuotes(std::string_view gbk)
{
    QuoteLines lines;
    bool seen = false;
    // Each statement: v_KEY="VALUE"; the value never holds a quote mark.
    for (size_t at = gbk.find("v_"); at != std::string_view::npos; at = gbk.find("v_", at)) {
        const size_t open = gbk.find("=\"", at);
        const size_t close = open == std::string_view::npos ? open : gbk.find('"', open + 2);
        if (close == std::string_view::npos)
            break;
        const std::string_view key = gbk.substr(at + 2, open - at - 2);
        seen = true;
        if (key != "pv_none_match")
            lines[std::string(key)] = readLine(gbk.substr(open + 2, close - open - 2));
        at = close + 1;
    }
    if (!seen)
        return std::nullopt;
    return lines;
}

double sessionMinuteOf(int hhmmss)
{
    const int second = hhmmss / 10000 * 3600 + hhmmss / 100 % 100 * 60 + hhmmss % 100;
    return tradedSeconds(second) / 60.0;
}

} // namespace lark::quoteserver
