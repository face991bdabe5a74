#pragma once

#include <cstdint>
#include <ctime>
#include <mutex>

namespace lark::quoteserver {

// When the exchanges trade, in Beijing time whatever the machine's zone: 09:15 to 11:30 and
// 13:00 to 15:05 on weekdays (the call auction and the closing minutes included), except on
// days the services' own time stamps show to be without trading (holidays, which no rule of
// ours could know in advance). Any thread.
class MarketHours
{
public:
    static bool inSession(std::time_t t);

    bool isOpen(std::time_t now) const;
    // The newest trade date of a reply's quotes (YYYYMMDD). One before today, seen after today's
    // trading should have begun, marks today as a day without trading.
    void noteQuoteDate(int32_t newestDate, std::time_t now);

private:
    mutable std::mutex m_mutex;
    int32_t m_closedDay = -1; // a day number, as beijingMoment counts them
};

} // namespace lark::quoteserver
