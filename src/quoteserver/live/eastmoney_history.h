#pragma once

#include "quoteserver/live/market_symbol.h"
#include "quoteserver/market_source.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lark::quoteserver {

// The last bars daily bars, unadjusted, from the history service.
std::string klineTarget(const Instrument &symbol, int bars);

// The bars of a reply, oldest first; Unknown for "data":null (a stock it does not know);
// nullopt when the text is not such a reply, a bar is malformed or out of range, or the bars
// were held back (none sent although the service counts some).
std::optional<Answer<std::vector<DayRecord>>> parseKlines(std::string_view json);

} // namespace lark::quoteserver
