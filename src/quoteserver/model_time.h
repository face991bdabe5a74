#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string_view>

namespace lark::quoteserver {

// Trading days are local calendar days, counted from 1970-01-01.
struct LocalMoment
{
    int32_t day = 0;
    int secondOfDay = 0;
};

LocalMoment localMoment(std::time_t t);
// The same in Beijing time (UTC+8, no daylight saving), whatever the machine's zone: the
// time of the exchanges and of the public services' time stamps.
LocalMoment beijingMoment(std::time_t t);

int32_t dateNumber(int32_t day); // YYYYMMDD
std::optional<int32_t> dayFromDateText(std::string_view yyyymmdd);
bool isWeekday(int32_t day);
int32_t previousWeekday(int32_t day);

// Seconds of exchange trading (09:30-11:30 and 13:00-15:00) up to the given local second.
int tradedSeconds(int secondOfDay);

// The walk advances one tick every few seconds of trading time.
inline constexpr int kSecondsPerTick = 3;

struct TradingSession
{
    bool exchangeHours = false;

    int ticksPerDay() const;
    // Ticks traded by the given local second; stands still outside the sessions.
    int tickAt(int secondOfDay) const;
};

} // namespace lark::quoteserver
