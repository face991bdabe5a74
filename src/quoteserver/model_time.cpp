#include "quoteserver/model_time.h"

#include "base/whole_number.h"

#include <algorithm>

namespace lark::quoteserver {
namespace {

// Proleptic Gregorian calendar conversions (Howard Hinnant's algorithms).
int32_t daysFromCivil(int y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int32_t>(doe) - 719468;
}

void civilFromDays(int32_t z, int &y, unsigned &m, unsigned &d)
{
    z += 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int>(yoe) + era * 400 + (m <= 2);
}

constexpr int kMorningOpen = 9 * 3600 + 30 * 60;
constexpr int kMorningClose = 11 * 3600 + 30 * 60;
constexpr int kAfternoonOpen = 13 * 3600;
constexpr int kAfternoonClose = 15 * 3600;

} // namespace

LocalMoment localMoment(std::time_t t)
{
    std::tm tm {};
    localtime_r(&t, &tm);
    LocalMoment m;
    m.day = daysFromCivil(tm.tm_year + 1900, static_cast<unsigned>(tm.tm_mon + 1),
                          static_cast<unsigned>(tm.tm_mday));
    m.secondOfDay = tm.tm_hour * 3600 + tm.tm_min * 60 + std::min(tm.tm_sec, 59);
    return m;
}

LocalMoment beijingMoment(std::time_t t)
{
    constexpr std::time_t kBeijingOffset = 8 * 3600;
    constexpr std::time_t kDay = 24 * 3600;
    const std::time_t shifted = t + kBeijingOffset;
    const std::time_t day = shifted >= 0 ? shifted / kDay : (shifted - kDay + 1) / kDay;
    return {static_cast<int32_t>(day), static_cast<int>(shifted - day * kDay)};
}

int32_t dateNumber(int32_t day)
{
    int y = 0;
    unsigned m = 0, d = 0;
    civilFromDays(day, y, m, d);
    return y * 10000 + static_cast<int32_t>(m * 100 + d);
}

std::optional<int32_t> dayFromDateText(std::string_view text)
{
    const auto number = text.size() == 8 ? wholeNumber<int>(text) : std::nullopt;
    if (!number)
        return std::nullopt;
    const int value = *number;
    const int y = value / 10000;
    const auto m = static_cast<unsigned>(value / 100 % 100);
    const auto d = static_cast<unsigned>(value % 100);
    if (y < 1900 || m < 1 || m > 12 || d < 1)
        return std::nullopt;
    const int32_t day = daysFromCivil(y, m, d);
    if (dateNumber(day) != value) // rejects 31 April and the like
        return std::nullopt;
    return day;
}

bool isWeekday(int32_t day)
{
    const int32_t weekday = ((day % 7) + 7 + 4) % 7; // 1970-01-01 was a Thursday; 0 = Sunday
    return weekday != 0 && weekday != 6;
}

int32_t previousWeekday(int32_t day)
{
    do
        --day;
    while (!isWeekday(day));
    return day;
}

int tradedSeconds(int secondOfDay)
{
    auto within = [secondOfDay](int open, int close) {
        return std::clamp(secondOfDay, open, close) - open;
    };
    return within(kMorningOpen, kMorningClose) + within(kAfternoonOpen, kAfternoonClose);
}

int TradingSession::ticksPerDay() const
{
    return (exchangeHours ? tradedSeconds(kAfternoonClose) : 24 * 3600) / kSecondsPerTick;
}

int TradingSession::tickAt(int secondOfDay) const
{
    return (exchangeHours ? tradedSeconds(secondOfDay) : secondOfDay) / kSecondsPerTick;
}

} // namespace lark::quoteserver
