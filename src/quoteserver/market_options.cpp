#include "quoteserver/market_options.h"

#include "base/terminal_text.h"
#include "protocol/server_address.h"

#include <algorithm>

namespace lark::quoteserver {
namespace {

struct UpstreamOption
{
    const char *flag;
    const char *variable;
    std::string Upstreams::*url;
};

const UpstreamOption kUpstreams[] = {
    {"--quotes-upstream", "LARK_QUOTES_UPSTREAM", &Upstreams::quotes},
    {"--history-upstream", "LARK_HISTORY_UPSTREAM", &Upstreams::history},
    {"--lists-upstream", "LARK_LISTS_UPSTREAM", &Upstreams::lists},
    {"--minutes-upstream", "LARK_MINUTES_UPSTREAM", &Upstreams::minutes},
    {"--fallback-quotes-upstream", "LARK_FALLBACK_QUOTES_UPSTREAM", &Upstreams::fallbackQuotes},
    {"--fallback-lists-upstream", "LARK_FALLBACK_LISTS_UPSTREAM", &Upstreams::fallbackLists},
};

// "http://HOST[:PORT]" with no path (requests append theirs); HOST and PORT as a quote server's.
bool isBaseUrl(std::string_view url)
{
    for (std::string_view scheme : {"http://", "https://"}) {
        if (url.starts_with(scheme))
            return parseServerAddress(url.substr(scheme.size())).has_value();
    }
    return false;
}

std::string apply(std::string_view flag, std::string_view value, MarketChoice &choice)
{
    if (flag == "--market") {
        if (value != "live" && value != "simulated")
            return "market must be live or simulated, not '" + terminalText(value) + "'";
        choice.live = value == "live";
        return {};
    }
    const auto option = std::find_if(std::begin(kUpstreams), std::end(kUpstreams),
                                     [&](const UpstreamOption &o) { return flag == o.flag; });
    if (!isBaseUrl(value))
        return "bad URL for " + std::string(flag) + ": '" + terminalText(value)
            + "' (expected http://HOST[:PORT], no path)";
    choice.upstreams.*option->url = std::string(value);
    return {};
}

} // namespace

bool isMarketOption(std::string_view flag)
{
    return flag == "--market"
        || std::any_of(std::begin(kUpstreams), std::end(kUpstreams),
                       [&](const UpstreamOption &o) { return flag == o.flag; });
}

std::string applyMarketOption(std::string_view flag, std::string_view value, MarketChoice &choice)
{
    return isMarketOption(flag) ? apply(flag, value, choice)
                                : "unknown option " + std::string(flag);
}

std::string applyMarketEnvironment(const std::function<const char *(const char *)> &environment,
                                   MarketChoice &choice)
{
    if (const char *market = environment("LARK_MARKET"); market && *market) {
        if (std::string error = apply("--market", market, choice); !error.empty())
            return "LARK_MARKET: " + error;
    }
    for (const UpstreamOption &o : kUpstreams) {
        const char *url = environment(o.variable);
        if (!url || !*url)
            continue;
        if (std::string error = apply(o.flag, url, choice); !error.empty())
            return std::string(o.variable) + ": " + error;
    }
    return {};
}

std::optional<LiveOptions> liveOptions(const MarketChoice &choice,
                                       const std::function<const char *(const char *)> &environment)
{
    if (!choice.live)
        return std::nullopt;
    LiveOptions options;
    options.upstreams = choice.upstreams;
    options.cacheDir = defaultCacheDir(environment);
    return options;
}

const char *marketOptionsHelp()
{
    return "  --market live|simulated    the real Shanghai and Shenzhen markets from public\n"
           "                             quote services, or the simulated one (default)\n"
           "  --quotes-upstream URL      real-time quotes (default http://qt.gtimg.cn)\n"
           "  --history-upstream URL     day bars (default http://push2his.eastmoney.com)\n"
           "  --lists-upstream URL       board lists and rankings (default\n"
           "                             http://push2.eastmoney.com)\n"
           "  --minutes-upstream URL     the day's minutes, and day bars while the history\n"
           "                             service fails (default http://web.ifzq.gtimg.cn)\n"
           "  --fallback-quotes-upstream URL\n"
           "                             quotes while the quotes service fails (default\n"
           "                             http://hq.sinajs.cn)\n"
           "  --fallback-lists-upstream URL\n"
           "                             lists and rankings while the lists service fails\n"
           "                             (default http://push2delay.eastmoney.com)\n"
           "                             URLs are scheme, host and port, no path.\n";
}

} // namespace lark::quoteserver
