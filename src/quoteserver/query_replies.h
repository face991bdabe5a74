#pragma once

#include "quoteserver/market_source.h"
#include "quoteserver/reply.h"

#include <string_view>

namespace lark::quoteserver {

// Answers a quote query: the part of the target after the query head, e.g.
// "GetStkOneHQWithNameSH?507193&600061".
Reply answerQuery(std::string_view query, MarketSource &source);

} // namespace lark::quoteserver
