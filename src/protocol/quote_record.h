#pragma once

#include "protocol/quote_figures.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace lark {

class QuoteSession;

// The real-time quote reply: the stock's name and its figures.
struct QuoteRecord : QuoteFigures
{
    std::string name; // UTF-8

    // reply must hold exactly wire::kQuoteSize bytes.
    static QuoteRecord decode(std::string_view reply);
};

enum class QuoteOutcome { Failed, Rejected, Valid };

QuoteOutcome fetchQuote(QuoteSession &session, std::string_view code, QuoteRecord &record);

// Change in percent of the previous close; 0 when there is no previous close,
// so a bad record never yields NaN or infinity.
float changePercent(int32_t last, int32_t previousClose);
double changeYuan(int32_t last, int32_t previousClose);

} // namespace lark
