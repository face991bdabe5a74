#pragma once

#include "engine/options.h"

#include <cstdint>
#include <string>

namespace lark {

// One slot's code and thresholds as the settings dialog edits them.
struct SlotSettings
{
    std::string code;
    float priceAlarm = 0;
    float changeAlarmPct = 0;
    int32_t bigOrderAlarm = 0;
    float volumeRatioAlarm = 0;
};

// What a confirmed settings change started.
enum class SettingsRestart { None, RankingPass, RefreshLoop };

} // namespace lark
