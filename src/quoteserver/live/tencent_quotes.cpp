#include "quoteserver/live/tencent_quotes.h"

#include "base/gbk.h"
#include "quoteserver/live/decimal_text.h"

namespace lark::quoteserver {
namespace {

enum Field : size_t {
    Name = 1,
    Last = 3,
    PreviousClose = 4,
    Open = 5,
    Volume = 6,
    Bid1Price = 9,
    Ask1Price = 19,
    Time = 30,
    High = 33,
    Low = 34,
    PriceVolumeAmount = 35, // "price/volume/amount", the amount exact in yuan
    Status = 40, // D or U delisted, S suspended
};

// The line "price~volume~..." of a symbol. Every field read is followed by a separator, so a
// line cut short never gives a cut number.
Answer<LiveQuote> readLine(const Instrument &instrument, std::string_view value)
{
    const auto f = splitKeepingEmpty(value, '~');
    if (f.size() <= Status + 1 || f[Time].size() != 14)
        return Answer<LiveQuote>::failed();
    if (f[Status] == "D" || f[Status] == "U")
        return Answer<LiveQuote>::unknown();
    const auto priceVolumeAmount = splitKeepingEmpty(f[PriceVolumeAmount], '/');
    if (priceVolumeAmount.size() != 3)
        return Answer<LiveQuote>::failed();
    QuoteTexts t;
    t.nameUtf8 = gb18030ToUtf8(f[Name]);
    t.last = f[Last];
    t.previousClose = f[PreviousClose];
    t.open = f[Open];
    t.high = f[High];
    t.low = f[Low];
    for (size_t level = 0; level < 3; ++level) {
        t.bidPrices[level] = f[Bid1Price + 2 * level];
        t.bidVolumes[level] = f[Bid1Price + 2 * level + 1];
        t.askPrices[level] = f[Ask1Price + 2 * level];
        t.askVolumes[level] = f[Ask1Price + 2 * level + 1];
    }
    t.volume = f[Volume];
    t.amount = priceVolumeAmount[2];
    // STAR stocks count shares, every other board lots.
    t.sharesPerUnit = instrument.star ? 1 : 100;
    t.date = f[Time].substr(0, 8);
    t.time = f[Time].substr(8);
    t.suspended = f[Status] == "S";
    return liveQuoteOf(t);
}

} // namespace

std::string tencentQuotesTarget(const std::vector<Instrument> &symbols)
{
    return "/q=" + symbolList(symbols);
}

std::optional<QuoteLines> parseTencentQuotes(std::string_view gbk)
{
    const auto statements = quoteStatements(gbk, "v_");
    if (!statements)
        return std::nullopt;
    QuoteLines lines;
    for (const QuoteStatement &s : *statements) {
        if (s.key == "pv_none_match")
            continue;
        const auto instrument = instrumentOfQuoteSymbol(s.key);
        if (!instrument)
            return std::nullopt;
        lines[std::string(s.key)] = readLine(*instrument, s.value);
    }
    return lines;
}

} // namespace lark::quoteserver
