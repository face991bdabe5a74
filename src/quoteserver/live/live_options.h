#pragma once

#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

namespace lark::quoteserver {

// "Lark/VERSION (...)": every request names the program and its version.
std::string larkUserAgent();

// Where the live market's figures come from: scheme, host and port of each service, and of
// the one asked while it fails.
struct Upstreams
{
    std::string quotes = "http://qt.gtimg.cn";
    std::string history = "http://push2his.eastmoney.com";
    std::string lists = "http://push2.eastmoney.com";
    std::string minutes = "http://web.ifzq.gtimg.cn"; // also the day bars' fallback
    std::string fallbackQuotes = "http://hq.sinajs.cn";
    std::string fallbackLists = "http://push2delay.eastmoney.com";
};

// How often and how long the live source asks. Tests shorten the durations.
struct LiveTiming
{
    using ms = std::chrono::milliseconds;

    ms quoteWindow {2000}; // at most one batch quote request per window
    ms closedQuoteWindow {60000}; // the same while the market is closed
    ms askedWithin {60000}; // every code asked this recently is in each batch
    ms rankingFresh {5000}; // a ranking page is reused this long
    ms firstListsWait {20000}; // a stock-message query waits this long on the very first start
    ms listsCheck {600000}; // how often the lists are looked at for a new day
    ms backoffFirst {2000}, backoffLongest {60000};
    ms connect {5000};
    ms stall {5000}; // no byte for this long ends a request
    ms requestDeadline {15000}; // a quote, history or ranking request, all told
    ms listDeadline {60000}; // one page of a board list
    ms rateSecond {1000}; // the second of the request ceiling
    int perSecond = 5, perMinute = 180;
};

struct LiveOptions
{
    Upstreams upstreams;
    std::filesystem::path cacheDir; // the board lists are kept here between runs; empty: not kept
    LiveTiming timing;
    std::string userAgent = larkUserAgent();
    // The wall clock: trading hours and the trading day.
    std::function<std::time_t()> clock = [] { return std::time(nullptr); };
};

// $XDG_CACHE_HOME/lark, else ~/.cache/lark (see xdgHome); empty when there is no home at all.
std::filesystem::path defaultCacheDir(const std::function<const char *(const char *)> &environment);

} // namespace lark::quoteserver
