#pragma once

#include "engine/options.h"
#include "engine/slot_settings.h"

#include <string>

namespace lark::ui {

// The values the settings dialog edits. The opener copies them in and reads them back on OK.
struct SettingsRecord
{
    int rankingSortKey = 0; // index into the sort combo box, -1 for none
    int refreshSeconds = 0;
    float alarmPrice = 0;
    std::string stockCode; // UTF-8
    int ringOn = 0;
    int priceAlarmOn = 0;
    int flashOn = 0;
    int bonusRightsNoticeOn = 0;
    int newIssueNoticeOn = 0;
    int stockIndex = 0; // slot + 1
    int rankingMarket = 0; // -1 when no radio button is set
    int rankingOn = 0;
    int chartOnAlarm = 0;
    int bigOrderAlarmOn = 0;
    int changeAlarmOn = 0;
    int volumeRatioAlarmOn = 0;
    float changeAlarmPct = 0;
    int bigOrderAlarm = 0;
    float volumeRatioAlarm = 0;
};

// The record for a slot's code and thresholds and the options.
SettingsRecord settingsRecord(int slot, const SlotSettings &slotSettings, const Options &options);
// What a confirmed record holds for the engine; the slot it names is record.stockIndex - 1.
SlotSettings chosenSlotSettings(const SettingsRecord &record);
Options chosenOptions(const SettingsRecord &record);

} // namespace lark::ui
