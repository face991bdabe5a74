#include "quoteserver/live/bars_cache.h"

#include "base/whole_number.h"
#include "quoteserver/live/cache_file.h"
#include "quoteserver/live/decimal_text.h"
#include "quoteserver/live/market_symbol.h"
#include "quoteserver/model_time.h"

namespace lark::quoteserver {
namespace {

// A few hundred stocks watched in a day at most; each row is about 400 bytes.
constexpr CacheKind kHistoryCache {"history", 1, 2 * 1024 * 1024};
constexpr size_t kMostStocks = 4000;
// Writes come at most this often; stop() writes the rest.
constexpr auto kSaveInterval = std::chrono::seconds(2);

std::string barText(const DayRecord &r)
{
    std::string text;
    for (int32_t value : {r.date, r.open, r.high, r.low, r.close, r.volumeLots, r.amountThousands})
        text += (text.empty() ? "" : ",") + std::to_string(value);
    return text;
}

std::optional<DayRecord> barOf(std::string_view text)
{
    const auto f = splitKeepingEmpty(text, ',');
    if (f.size() != 7)
        return std::nullopt;
    int32_t v[7];
    for (size_t i = 0; i < 7; ++i) {
        const auto value = wholeNumber<int32_t>(f[i]);
        if (!value)
            return std::nullopt;
        v[i] = *value;
    }
    return DayRecord {v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
}

std::vector<std::string> rowOf(const Instrument &instrument, const BarsCache::Bars &bars)
{
    std::vector<std::string> row {quoteSymbol(instrument)};
    for (const DayRecord &r : bars)
        row.push_back(barText(r));
    return row;
}

// The rows of a day's file; a row that does not read is left out.
std::map<Instrument, BarsCache::Bars> barsOf(const CacheContents &contents)
{
    std::map<Instrument, BarsCache::Bars> all;
    for (const auto &row : contents.rows) {
        const auto instrument = row.empty() ? std::nullopt : instrumentOfQuoteSymbol(row[0]);
        BarsCache::Bars bars;
        for (size_t i = 1; instrument && i < row.size(); ++i) {
            const auto bar = barOf(row[i]);
            if (!bar)
                break;
            bars.push_back(*bar);
        }
        if (instrument && bars.size() + 1 == row.size())
            all[*instrument] = std::move(bars);
    }
    return all;
}

} // namespace

BarsCache::BarsCache(std::filesystem::path file)
    : m_file(std::move(file))
{ }

std::optional<BarsCache::Bars> BarsCache::find(const Instrument &instrument, int32_t day)
{
    std::lock_guard lock(m_mutex);
    if (day != m_day) {
        m_day = day;
        m_bars.clear();
        m_loaded = false;
    }
    if (!m_loaded && !m_file.empty()) {
        m_loaded = true;
        if (const auto contents = loadCache(m_file, kHistoryCache);
            contents && contents->date == dateNumber(day))
            m_bars = barsOf(*contents);
    }
    const auto found = m_bars.find(instrument);
    return found == m_bars.end() ? std::nullopt : std::optional(found->second);
}

void BarsCache::store(const Instrument &instrument, int32_t day, Bars bars)
{
    bool due = false;
    {
        std::lock_guard lock(m_mutex);
        if (day != m_day)
            return; // fetched as the day turned: tomorrow's start asks again
        if (m_bars.size() < kMostStocks || m_bars.count(instrument))
            m_bars[instrument] = std::move(bars);
        m_dirty = true;
        due = std::chrono::steady_clock::now() >= m_savedAt + kSaveInterval;
    }
    if (due)
        save();
}

void BarsCache::save()
{
    std::map<Instrument, Bars> ours;
    int32_t day = 0;
    {
        std::lock_guard lock(m_mutex);
        if (!m_dirty || m_file.empty())
            return;
        m_dirty = false;
        m_savedAt = std::chrono::steady_clock::now();
        ours = m_bars;
        day = m_day;
    }
    updateCache(m_file, kHistoryCache, [&](std::optional<CacheContents> current) {
        std::map<Instrument, Bars> all;
        if (current && current->date == dateNumber(day))
            all = barsOf(*current);
        for (auto &[instrument, bars] : ours)
            all[instrument] = std::move(bars);
        CacheContents next {dateNumber(day), {}};
        for (const auto &[instrument, bars] : all) {
            if (next.rows.size() < kMostStocks)
                next.rows.push_back(rowOf(instrument, bars));
        }
        return next;
    });
}

} // namespace lark::quoteserver
