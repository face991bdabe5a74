#pragma once

#include "engine/options.h"
#include "engine/watch_list.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace lark {

enum class AlarmKind { VolumeRatio, BigOrder, Price, ChangePct };

struct AlarmQuote
{
    int32_t last = 0; // thousandths of a yuan
    int32_t volume = 0; // shares, cumulative
    float changePct = 0;
};

// What made an alarm ring: its kind, the quote's figure and the threshold it passed (a price
// in yuan, a percentage, shares, a ratio).
struct FiredAlarm
{
    AlarmKind kind;
    double figure = 0;
    double threshold = 0;

    bool operator==(const FiredAlarm &) const = default;
};

// Tests the four kinds in their fixed order and clears every threshold that fired (one-shot).
// The caller holds settingsLock and raises one alert per alarm returned, after releasing it.
std::vector<FiredAlarm> fireAlarms(WatchTables &tables, const Options &options, int slot,
                                   const AlarmQuote &quote, const std::tm &now);

// Why it rang, for the user: "600061 国投资本 价格 7.05 高于预警价 7.00".
std::string alarmReason(const std::string &code, const std::string &name, const FiredAlarm &alarm);

} // namespace lark
