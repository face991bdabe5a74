#include "quoteserver/live/quote_batcher.h"

#include "quoteserver/live/upstream_client.h"

namespace lark::quoteserver {

QuoteBatcher::QuoteBatcher(UpstreamClient &client, const LiveOptions &options)
    : m_client(client)
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
    const auto window = m_options.timing.quoteWindow;
    std::unique_lock lock(m_mutex);
    m_asked[symbol] = Clock::now();
    for (;;) {
        const auto now = Clock::now();
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
std::map<std::string, Answer<LiveQuote>>
QuoteBatcher::fetchBatches(const std::vector<Instrument> &symbols)
{
    std::map<std::string, Answer<LiveQuote>> lines;
    for (size_t first = 0; first < symbols.size(); first += kQuoteBatchMax) {
        const std::vector<Instrument> batch(symbols.begin() + first,
                                            symbols.begin()
                                                + std::min(symbols.size(), first + kQuoteBatchMax));
        const auto reply = m_client.fetch(tencentQuotesTarget(batch),
                                          m_options.timing.requestDeadline, parseTencentQuotes);
        for (const Instrument &s : batch) {
            if (!reply)
                lines[quoteSymbol(s)] = Answer<LiveQuote>::failed();
            else if (const auto line = reply->find(quoteSymbol(s)); line != reply->end())
                lines[quoteSymbol(s)] = line->second;
        }
    }
    return lines;
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
        const PathPoint point {t.sessionMinute, t.quote.last, t.quote.volume};
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
