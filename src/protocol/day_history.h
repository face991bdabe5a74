#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace lark {

// Records whose volumes make the baseline.
inline constexpr int kDayHistoryRecordsUsed = 5;

struct DayHistoryDates
{
    std::string start; // the local date 7 x 24 hours before now
    std::string end; // today
};

// Year, two-digit month, two-digit day.
std::string dateText(const std::tm &date);
DayHistoryDates dayHistoryDates(const std::tm &now);

// Volume (lots) of daily record k; the reply must reach past that field.
int32_t dayHistoryVolume(std::string_view reply, int k);
// Volumes of records 0..4, as many as arrived complete.
std::vector<int32_t> dayHistoryVolumes(std::string_view reply);

} // namespace lark
