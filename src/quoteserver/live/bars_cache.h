#pragma once

#include "protocol/instrument.h"
#include "quoteserver/market_source.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace lark::quoteserver {

// The daily bars fetched today, kept for the trading day in memory and on disk, so a start
// after the day's first has every watched stock's history at once. Any thread.
class BarsCache
{
public:
    using Bars = std::vector<DayRecord>;

    // file empty: kept in memory only.
    explicit BarsCache(std::filesystem::path file);

    // The bars fetched on day (a Beijing day number), when there are any.
    std::optional<Bars> find(const Instrument &instrument, int32_t day);
    void store(const Instrument &instrument, int32_t day, Bars bars);
    // Writes what was fetched since the last write, merged with what other Larks wrote.
    void save();

private:
    const std::filesystem::path m_file;
    std::mutex m_mutex;
    int32_t m_day = 0;
    std::map<Instrument, Bars> m_bars;
    bool m_loaded = false;
    bool m_dirty = false;
    std::chrono::steady_clock::time_point m_savedAt {};
};

} // namespace lark::quoteserver
