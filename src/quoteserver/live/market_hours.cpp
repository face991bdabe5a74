#include "quoteserver/live/market_hours.h"

#include "quoteserver/model_time.h"

namespace lark::quoteserver {
namespace {

constexpr int kMorningStart = 9 * 3600 + 15 * 60;
constexpr int kMorningEnd = 11 * 3600 + 30 * 60;
constexpr int kAfternoonStart = 13 * 3600;
constexpr int kAfternoonEnd = 15 * 3600 + 5 * 60;
// From the continuous session on, a trading day's quotes carry its date.
constexpr int kDatedFrom = 9 * 3600 + 30 * 60;

} // namespace

bool MarketHours::inSession(std::time_t t)
{
    const LocalMoment m = beijingMoment(t);
    const int s = m.secondOfDay;
    return isWeekday(m.day)
        && ((s >= kMorningStart && s < kMorningEnd) || (s >= kAfternoonStart && s < kAfternoonEnd));
}

bool MarketHours::isOpen(std::time_t now) const
{
    if (!inSession(now))
        return false;
    std::lock_guard lock(m_mutex);
    return beijingMoment(now).day != m_closedDay;
}

void MarketHours::noteQuoteDate(int32_t newestDate, std::time_t now)
{
    const LocalMoment m = beijingMoment(now);
    if (!isWeekday(m.day) || m.secondOfDay < kDatedFrom || newestDate <= 0)
        return;
    std::lock_guard lock(m_mutex);
    if (newestDate < dateNumber(m.day))
        m_closedDay = m.day;
    else if (m_closedDay == m.day)
        m_closedDay = -1;
}

} // namespace lark::quoteserver
