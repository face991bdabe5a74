#include "quoteserver/live/sina_quotes.h"

#include "base/gbk.h"
#include "quoteserver/live/decimal_text.h"
#include "quoteserver/live/quote_reply.h"

namespace lark::quoteserver {
namespace {

enum Field : size_t {
    Name = 0,
    Open = 1,
    PreviousClose = 2,
    Last = 3,
    High = 4,
    Low = 5,
    Volume = 8, // shares, on every board
    Amount = 9, // yuan
    Bid1Volume = 10, // volume then price, five levels
    Ask1Volume = 20,
    Date = 30, // yyyy-mm-dd
    Time = 31, // HH:MM:SS
    Status = 32,
};

// Every field read is followed by a separator, so a line cut short never gives a cut number.
Answer<LiveQuote> readLine(std::string_view value)
{
    const auto f = splitKeepingEmpty(value, ',');
    if (f.size() <= Status)
        return Answer<LiveQuote>::failed();
    QuoteTexts t;
    t.nameUtf8 = gb18030ToUtf8(f[Name]);
    t.last = f[Last];
    t.previousClose = f[PreviousClose];
    t.open = f[Open];
    t.high = f[High];
    t.low = f[Low];
    for (size_t level = 0; level < 3; ++level) {
        t.bidVolumes[level] = f[Bid1Volume + 2 * level];
        t.bidPrices[level] = f[Bid1Volume + 2 * level + 1];
        t.askVolumes[level] = f[Ask1Volume + 2 * level];
        t.askPrices[level] = f[Ask1Volume + 2 * level + 1];
    }
    t.volume = f[Volume];
    t.amount = f[Amount];
    t.date = f[Date];
    t.time = f[Time];
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
