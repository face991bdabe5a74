#pragma once

#include "quoteserver/live/live_quote.h"
#include "quoteserver/live/market_symbol.h"
#include "quoteserver/market_source.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lark::quoteserver {

// Most codes one batch request of the real-time quote service carries.
inline constexpr size_t kQuoteBatchMax = 60;

// "/q=sh600061,sz000001"
std::string tencentQuotesTarget(const std::vector<Instrument> &symbols);

// The lines of a batch reply (GBK text) by symbol ("sh600061"). A line with fields missing
// or not numbers is Failed; a code the service does not know has no line at all. nullopt
// when the text holds no quote line (an error page, a cut-off reply).
std::optional<QuoteLines> parseTencentQuotes(std::string_view gbk);

// Minutes of trading since 09:30 at a time of day (HHMMSS): 0 before the open, 120 over the
// midday break, 240 after the close.
double sessionMinuteOf(int hhmmss);

} // namespace lark::quoteserver
