#include "quoteserver/live/quote_batcher.h"

#include "protocol/wire_format.h"
#include "quoteserver/live/market_hours.h"

#include <algorithm>

namespace lark::quoteserver {

QuoteBatcher::QuoteBatcher(FetchLines fetch, MarketHours &hours, const LiveOptions &options)
    : m_fetch(std::move(fetch))
    , m_hours(hours)
    , m_options(options)
{ }

void QuoteBatcher::noteAsked(const Instrument &symbol)
{
    std::lock_guard lock(m_mutex);
    m_asked[symbol] = Clock::now();
}

void QuoteBatcher::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_wake.notify_all();
}

Answer<LiveQuote> QuoteBatcher::quote(const Instrument &symbol)
{
    std::unique_lock lock(m_mutex);
    m_asked[symbol] = Clock::now();
    for (;;) {
        const auto now = Clock::now();
        const auto window = m_hours.isOpen(m_options.clock()) ? m_options.timing.quoteWindow
                                                              : m_options.timing.closedQuoteWindow;
        if (m_stopped)
            return Answer<LiveQuote>::failed();
        const auto entry = m_entries.find(symbol);
        if (entry != m_entries.end() && now < entry->second.fetched + window)
            return entry->second.answer;
        if (m_fetching) {
            m_wake.wait(lock);
            continue;
        }
        if (m_lastBatch && now < *m_lastBatch + window) {
            m_wake.wait_until(lock, *m_lastBatch + window);
            continue;
        }
        m_fetching = true;
        m_lastBatch = now;
        const auto symbols = symbolsAskedLately(now);
        lock.unlock();
        auto lines = fetchBatches(symbols);
        lock.lock();
        // Fresh from their arrival: stamped with the batch's start, a batch slower than the
        // window would be stale on arrival and start the next one at once, without end.
        const auto arrived = Clock::now();
        noteNewestDate(lines);
        for (const Instrument &s : symbols) {
            const auto line = lines.find(quoteSymbol(s));
            store(s, line != lines.end() ? line->second : Answer<LiveQuote>::unknown(), arrived);
        }
        m_fetching = false;
        m_wake.notify_all();
    }
}

std::vector<Instrument> QuoteBatcher::symbolsAskedLately(Clock::time_point now)
{
    std::vector<Instrument> symbols;
    for (auto it = m_asked.begin(); it != m_asked.end();) {
        if (it->second + m_options.timing.askedWithin < now) {
            it = m_asked.erase(it);
            continue;
        }
        symbols.push_back(it->first);
        ++it;
    }
    return symbols;
}

// A stock of a batch that failed is Failed; one the service left out is Unknown.
QuoteLines QuoteBatcher::fetchBatches(const std::vector<Instrument> &symbols)
{
    QuoteLines lines;
    for (size_t first = 0; first < symbols.size(); first += kQuoteBatchMax) {
        const std::vector<Instrument> batch(symbols.begin() + first,
                                            symbols.begin()
                                                + std::min(symbols.size(), first + kQuoteBatchMax));
        const auto reply = m_fetch(batch);
        for (const Instrument &s : batch) {
            if (!reply)
                lines[quoteSymbol(s)] = Answer<LiveQuote>::failed();
            else if (const auto line = reply->find(quoteSymbol(s)); line != reply->end())
                lines[quoteSymbol(s)] = line->second;
        }
    }
    return lines;
}

// The services' time stamps tell a day without trading from a trading one.
void QuoteBatcher::noteNewestDate(const QuoteLines &lines)
{
    int32_t newest = 0;
    for (const auto &[symbol, answer] : lines) {
        if (answer.outcome == Outcome::Answered)
            newest = std::max(newest, answer.value.date);
    }
    m_hours.noteQuoteDate(newest, m_options.clock());
}

void QuoteBatcher::store(const Instrument &symbol, Answer<LiveQuote> answer,
                         Clock::time_point fetched)
{
    Entry &entry = m_entries[symbol];
    entry.fetched = fetched;
    if (answer.outcome == Outcome::Answered) {
        const LiveQuote &t = answer.value;
        if (entry.pathDate != t.date) {
            entry.pathDate = t.date;
            entry.path.clear();
        }
        const int64_t volume = t.quote.volume == wire::kNotCarried ? -1 : t.quote.volume;
        const PathPoint point {t.sessionMinute, t.quote.last, volume};
        // A point a minute: the latest figures of the minute stand for it.
        if (!entry.path.empty() && int(entry.path.back().minute) == int(point.minute))
            entry.path.back() = point;
        else if (entry.path.empty() || entry.path.back().minute < point.minute)
            entry.path.push_back(point);
    }
    entry.answer = std::move(answer);
}

std::vector<PathPoint> QuoteBatcher::path(const Instrument &symbol)
{
    std::lock_guard lock(m_mutex);
    const auto entry = m_entries.find(symbol);
    return entry == m_entries.end() ? std::vector<PathPoint>() : entry->second.path;
}

} // namespace lark::quoteserver
