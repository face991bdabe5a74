#include "quoteserver/live/day_minutes.h"

namespace lark::quoteserver {
namespace {

constexpr auto kKeptFor = std::chrono::minutes(1);
// Stocks whose minutes are kept at once: a chart page is opened for a few of them.
constexpr size_t kMostKept = 64;

} // namespace

DayMinutes::DayMinutes(UpstreamClient &service, const LiveOptions &options)
    : m_service(service)
    , m_options(options)
{ }

MinuteDay DayMinutes::minutesOf(const Instrument &instrument)
{
    const auto now = std::chrono::steady_clock::now();
    {
        std::lock_guard lock(m_mutex);
        const auto kept = m_kept.find(instrument);
        if (kept != m_kept.end() && now < kept->second.fetched + kKeptFor)
            return kept->second.minutes;
    }
    const auto answer = m_service.fetch(
        tencentMinutesTarget(instrument), m_options.timing.requestDeadline,
        [&instrument](std::string_view json) { return parseTencentMinutes(json, instrument); });
    MinuteDay minutes;
    if (answer && answer->outcome == Outcome::Answered)
        minutes = answer->value;
    std::lock_guard lock(m_mutex);
    if (m_kept.size() >= kMostKept && !m_kept.count(instrument))
        m_kept.erase(m_kept.begin());
    m_kept[instrument] = {now, minutes};
    return minutes;
}

std::vector<PathPoint> DayMinutes::pathOf(const Instrument &instrument, int32_t date,
                                          const std::vector<PathPoint> &polled)
{
    MinuteDay minutes = minutesOf(instrument);
    std::vector<PathPoint> points
        = minutes.date == date ? std::move(minutes.points) : std::vector<PathPoint>();
    // The batches' points after the service's last minute carry the path on to now.
    const double covered = points.empty() ? -1 : points.back().minute;
    for (const PathPoint &p : polled) {
        if (p.minute > covered)
            points.push_back(p);
    }
    return points;
}

} // namespace lark::quoteserver
