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

// A moment in Beijing time (UTC+8), whatever the machine's zone.
inline std::time_t beijingTime(int year, int month, int day, int hour, int minute)
{
    std::tm tm {};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    return timegm(&tm) - 8 * 3600;
}

// Friday 14 March 2025, 10:35 in Beijing: the day the replies were recorded.
inline std::time_t recordedMorning()
{
    return beijingTime(2025, 3, 14, 10, 35);
}

// Every service of the live market on one loopback replay.
inline quoteserver::Upstreams loopbackUpstreams(const std::string &url)
{
    return {url, url, url, url, url, url};
}

} // namespace lark::test
