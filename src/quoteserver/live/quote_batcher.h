#pragma once

#include "quoteserver/live/live_options.h"
#include "quoteserver/live/market_symbol.h"
#include "quoteserver/live/tencent_quotes.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

namespace lark::quoteserver {

class MarketHours;

// Real-time quotes in batches: at most one batch request a window, covering every code
// asked for lately, so a client polling its watch list stock by stock costs one request a
// pass; while the market is closed a window is a minute. Each stock's day path is what the
// batches saw of it. Any thread; one batch is fetched at a time.
class QuoteBatcher
{
public:
    // One reply's lines for a batch of at most kQuoteBatchMax instruments; nullopt when no
    // service answered.
    using FetchLines = std::function<std::optional<QuoteLines>(const std::vector<Instrument> &)>;

    QuoteBatcher(FetchLines fetch, MarketHours &hours, const LiveOptions &options);

    // The stock's figures from a batch of this window, waiting for one when there is none.
    Answer<LiveQuote> quote(const Instrument &symbol);
    // The stock will be watched: the next batch covers it.
    void noteAsked(const Instrument &symbol);
    // Today's path of the stock so far, a point a minute.
    std::vector<PathPoint> path(const Instrument &symbol);
    void stop();

private:
    using Clock = std::chrono::steady_clock;
    struct Entry
    {
        Answer<LiveQuote> answer;
        Clock::time_point fetched;
        int32_t pathDate = 0;
        std::vector<PathPoint> path;
    };

    std::vector<Instrument> symbolsAskedLately(Clock::time_point now);
    QuoteLines fetchBatches(const std::vector<Instrument> &symbols);
    void noteNewestDate(const QuoteLines &lines);
    void store(const Instrument &symbol, Answer<LiveQuote> answer, Clock::time_point fetched);

    const FetchLines m_fetch;
    MarketHours &m_hours;
    const LiveOptions &m_options;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopped = false;
    bool m_fetching = false;
    std::optional<Clock::time_point> m_lastBatch;
    std::map<Instrument, Clock::time_point> m_asked;
    std::map<Instrument, Entry> m_entries;
};

} // namespace lark::quoteserver
