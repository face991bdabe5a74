#pragma once

#include "engine/options.h"
#include "engine/watch_list.h"

#include <cstdint>
#include <ctime>
#include <vector>

namespace lark {

enum class AlarmKind { VolumeRatio, BigOrder, Price, ChangePct };

struct AlarmQuote
{
    int32_t last = 0; // thousandths of a yuan
    int32_t volume = 0; // shares, cumulative
    float changePct = 0;
};

// Tests the four kinds in their fixed order and clears every threshold that fired (one-shot).
// The caller holds settingsLock and raises one alert per kind returned, after releasing it.
std::vector<AlarmKind> fireAlarms(WatchTables &tables, const Options &options, int slot,
                                  const AlarmQuote &quote, const std::tm &now);

} // namespace lark
