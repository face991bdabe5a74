#include "quoteserver/live/sina_quotes.h"

#include "quoteserver/live/decimal_text.h"
#include "quoteserver/live/quote_reply.h"

namespace lark::quoteserver {
namespace {

// Name 0, open 1, previous close 2, last 3, high 4, low 5, volume 8 (shares on every board),
// book from 10 (bids) and 20 (asks) as "volume,price".
constexpr QuoteLayout kLayout {0, 3, 2, 1, 4, 5, 8, 10, 20, true};
constexpr size_t kAmount = 9; // yuan
constexpr size_t kDate = 30; // yyyy-mm-dd
constexpr size_t kTime = 31; // HH:MM:SS
constexpr size_t kStatus = 32;

// Every field read is followed by a separator, so a line cut short never gives a cut number.
Answer<LiveQuote> readLine(std::string_view value)
{
    const auto f = splitKeepingEmpty(value, ',');
    if (f.size() <= kStatus)
        return Answer<LiveQuote>::failed();
    QuoteTexts t = quoteTextsAt(f, kLayout);
    t.amount = f[kAmount];
    t.date = f[kDate];
    t.time = f[kTime];
    return liveQuoteOf(t);
}

} // namespace

std::string sinaQuotesTarget(const std::vector<Instrument> &symbols)
{
    return "/list=" + symbolList(symbols);
}

std::optional<QuoteLines> parseSinaQuotes(std::string_view gbk)
{
    const auto statements = quoteStatements(gbk, "var hq_str_");
    if (!statements)
        return std::nullopt;
    QuoteLines lines;
    for (const QuoteStatement &s : *statements) {
        if (s.key == "sys_auth" || !instrumentOfQuoteSymbol(s.key))
            return std::nullopt;
        if (!s.value.empty())
            lines[std::string(s.key)] = readLine(s.value);
    }
    return lines;
}

} // namespace lark::quoteserver
