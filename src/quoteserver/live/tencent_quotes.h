#pragma once

#include "quoteserver/live/live_quote.h"
#include "quoteserver/live/market_symbol.h"
#include "quoteserver/live/quote_reply.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lark::quoteserver {

// Most codes one batch request of the real-time quote service carries.
inline constexpr size_t kQuoteBatchMax = 60;

// "/q=sh600061,sz000001"
std::string tencentQuotesTarget(const std::vector<Instrument> &symbols);

// The lines of a batch reply (GBK text) by symbol ("sh600061"). A line with fields missing,
// not numbers or out of range is Failed; a delisted code's line is Unknown; a code the service
// does not know has no line at all. nullopt when the text is not such a reply (an error page,
// an empty body, a line that is no quote statement).
std::optional<QuoteLines> parseTencentQuotes(std::string_view gbk);

} // namespace lark::quoteserver
