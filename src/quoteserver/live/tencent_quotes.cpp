#include "quoteserver/live/tencent_quotes.h"

#include "quoteserver/live/decimal_text.h"

namespace lark::quoteserver {
namespace {

// Name 1, last 3, previous close 4, open 5, volume 6, book from 9 (bids) and 19 (asks) as
// "price~volume", high 33, low 34.
constexpr QuoteLayout kLayout {1, 3, 4, 5, 33, 34, 6, 9, 19, false};
constexpr size_t kTime = 30; // yyyymmddHHMMSS
constexpr size_t kPriceVolumeAmount = 35; // "price/volume/amount", the amount exact in yuan
constexpr size_t kStatus = 40; // D or U delisted, S suspended

// Every field read is followed by a separator, so a line cut short never gives a cut number.
Answer<LiveQuote> readLine(const Instrument &instrument, std::string_view value)
{
    const auto f = splitKeepingEmpty(value, '~');
    if (f.size() <= kStatus + 1 || f[kTime].size() != 14)
        return Answer<LiveQuote>::failed();
    if (f[kStatus] == "D" || f[kStatus] == "U")
        return Answer<LiveQuote>::unknown();
    const auto priceVolumeAmount = splitKeepingEmpty(f[kPriceVolumeAmount], '/');
    if (priceVolumeAmount.size() != 3)
        return Answer<LiveQuote>::failed();
    QuoteTexts t = quoteTextsAt(f, kLayout);
    t.amount = priceVolumeAmount[2];
    // STAR stocks count shares, every other board lots.
    t.sharesPerUnit = instrument.star ? 1 : 100;
    t.date = f[kTime].substr(0, 8);
    t.time = f[kTime].substr(8);
    t.suspended = f[kStatus] == "S";
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
