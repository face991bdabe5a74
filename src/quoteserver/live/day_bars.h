#pragma once

#include "quoteserver/live/bars_cache.h"
#include "quoteserver/live/live_services.h"

#include <optional>

namespace lark::quoteserver {

// Each stock's last daily bars, fetched once a trading day from the history service or, while
// it fails, the quote service maker's, and kept on disk for the day's later starts (a code the
// service does not know, as no bars). A reply that should have had bars and had none is a
// failed one, asked again at the next query. Any thread.
class DayBars
{
public:
    DayBars(LiveServices &services, const LiveOptions &options);

    // nullopt when neither service answered.
    std::optional<Answer<BarsCache::Bars>> of(const Instrument &instrument);
    // Writes what is not on disk yet.
    void save() { m_cache.save(); }

private:
    LiveServices &m_services;
    const LiveOptions &m_options;
    BarsCache m_cache;
};

} // namespace lark::quoteserver
