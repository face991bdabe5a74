#include "quoteserver/live/day_bars.h"

#include "quoteserver/live/eastmoney_history.h"
#include "quoteserver/live/tencent_bars.h"
#include "quoteserver/model_time.h"

namespace lark::quoteserver {
namespace {

// Two weeks of bars cover the client's week of history.
constexpr int kHistoryBars = 10;

} // namespace

DayBars::DayBars(LiveServices &services, const LiveOptions &options)
    : m_services(services)
    , m_options(options)
    , m_cache(options.cacheDir.empty() ? std::filesystem::path() : options.cacheDir / "history.tsv")
{ }

std::optional<Answer<BarsCache::Bars>> DayBars::of(const Instrument &instrument)
{
    const int32_t today = beijingMoment(m_options.clock()).day;
    if (auto cached = m_cache.find(instrument, today))
        return Answer<BarsCache::Bars>::of(std::move(*cached));
    auto bars = m_services.bars().fetch(
        klineTarget(instrument, kHistoryBars), parseKlines,
        tencentBarsTarget(instrument, kHistoryBars),
        [&instrument](std::string_view json) { return parseTencentBars(json, instrument); },
        m_options.timing.requestDeadline);
    // A code the service does not know has no bars today either; it is kept as none.
    if (bars && bars->outcome != Outcome::Failed)
        m_cache.store(instrument, today, bars->value);
    return bars;
}

} // namespace lark::quoteserver
