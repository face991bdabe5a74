#pragma once

#include "quoteserver/live/live_options.h"

#include <ctime>

namespace lark::test {

// The live source's timing twenty times faster: a 100 ms quote window, 3 s for the minute
// of codes asked lately, back-off from 100 ms.
inline quoteserver::LiveTiming fastLiveTiming()
{
    using ms = std::chrono::milliseconds;
    quoteserver::LiveTiming t;
    t.quoteWindow = ms(100);
    t.askedWithin = ms(3000);
    t.rankingFresh = ms(250);
    t.firstListsWait = ms(5000);
    t.backoffFirst = ms(100);
    t.backoffLongest = ms(400);
    t.connect = ms(2000);
    t.stall = ms(2000);
    t.requestDeadline = ms(5000);
    t.listDeadline = ms(5000);
    t.rateSecond = ms(50);
    return t;
}

// Friday 14 March 2025, 10:35 local time: the day the replies were recorded.
inline std::time_t recordedMorning()
{
    std::tm tm {};
    tm.tm_year = 125;
    tm.tm_mon = 2;
    tm.tm_mday = 14;
    tm.tm_hour = 10;
    tm.tm_min = 35;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

} // namespace lark::test
