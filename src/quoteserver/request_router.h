#pragma once

#include "quoteserver/market_source.h"
#include "quoteserver/reply.h"

#include <string>
#include <string_view>

namespace lark::quoteserver {

// Answers any quote-server request (not the control ones) from its raw target.
Reply routeRequest(std::string_view target, MarketSource &source, const std::string &versionText);

} // namespace lark::quoteserver
