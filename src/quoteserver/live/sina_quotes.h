#pragma once

#include "quoteserver/live/live_quote.h"
#include "quoteserver/live/market_symbol.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lark::quoteserver {

// "/list=sh600061,sz000001": the batch quote service the quotes fall back on.
std::string sinaQuotesTarget(const std::vector<Instrument> &symbols);

// The lines of its batch reply (GBK text) by symbol, under the same rules as the first
// service's: a line out of range is Failed, a code it does not know ("") has no line. nullopt
// when the text is not such a reply, or the service refused the batch (sys_auth FAILED).
std::optional<QuoteLines> parseSinaQuotes(std::string_view gbk);

} // namespace lark::quoteserver
