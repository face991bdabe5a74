#pragma once

#include "quoteserver/live/live_quote.h"
#include "quoteserver/live/market_symbol.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the replies of the two batch quote services share: one statement a line, and the rules
// that turn a line's texts into the protocol's figures.
namespace lark::quoteserver {

// "sh600061,sz000001"
std::string symbolList(const std::vector<Instrument> &symbols);

// PREFIX KEY="VALUE";
struct QuoteStatement
{
    std::string_view key, value;
};

// The statements of a reply, one a line, blank lines skipped; nullopt for a reply without
// any or with a line that is not one (an error page that happens to mention one). Only the
// last line may lack its closing `";`, as some recorded replies do.
std::optional<std::vector<QuoteStatement>> quoteStatements(std::string_view text,
                                                           std::string_view prefix);

// The texts of one line as the service sent them.
struct QuoteTexts
{
    std::string nameUtf8;
    std::string_view last, previousClose, open, high, low;
    std::array<std::string_view, 3> bidPrices, bidVolumes, askPrices, askVolumes;
    std::string_view volume, amount; // amount in yuan
    int64_t sharesPerUnit = 1; // 100 where the line counts lots
    std::string_view date, time; // yyyymmdd and HHMMSS, separators removed or not
    bool suspended = false;
};

// Where a service's line holds each figure, counted from 0 after splitting it at its
// separator; the book's three levels are pairs from the first bid and the first ask.
struct QuoteLayout
{
    size_t name, last, previousClose, open, high, low, volume, bid1, ask1;
    bool volumeBeforePrice; // each level "volume,price" rather than "price~volume"
};

// The texts at the layout's places, the name converted from GBK; the caller checked that the
// line has them all.
QuoteTexts quoteTextsAt(const std::vector<std::string_view> &fields, const QuoteLayout &layout);

// Minutes of trading since 09:30 at a time of day (HHMMSS): 0 before the open, 120 over the
// midday break, 240 after the close.
double sessionMinuteOf(int hhmmss);
// The same for the six digits of a time of day; nothing for another text or an impossible time.
std::optional<double> sessionMinuteOfText(std::string_view hhmmss);

// Failed when a price is negative or beyond its field, the previous close is not above zero, a
// count is negative, or a text is not a number. A line without a trade today (no volume, a
// last of 0, a suspension) stands at the previous close.
Answer<LiveQuote> liveQuoteOf(const QuoteTexts &texts);

} // namespace lark::quoteserver
