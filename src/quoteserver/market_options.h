#pragma once

#include "quoteserver/live/live_options.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lark::quoteserver {

// Which market a built-in or stand-alone quote server serves, as both programs take it:
// --market live|simulated and --<service>-upstream URL for each of the six services, or
// LARK_MARKET and LARK_<SERVICE>_UPSTREAM.
struct MarketChoice
{
    bool live = false;
    Upstreams upstreams;
};

bool isMarketOption(std::string_view flag);
// Applies one option; returns what is wrong with it, or "" when it was taken.
std::string applyMarketOption(std::string_view flag, std::string_view value, MarketChoice &choice);
// Applies the environment variables that are set; the same answer.
std::string applyMarketEnvironment(const std::function<const char *(const char *)> &environment,
                                   MarketChoice &choice);
// What the live source needs of the choice, with the cache under $XDG_CACHE_HOME; nothing for
// the simulated market.
std::optional<LiveOptions>
liveOptions(const MarketChoice &choice,
            const std::function<const char *(const char *)> &environment);
// The options' lines for --help.
const char *marketOptionsHelp();

} // namespace lark::quoteserver
