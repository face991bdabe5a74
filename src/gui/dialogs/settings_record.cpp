#include "gui/dialogs/settings_record.h"

#include <utility>

namespace lark::ui {
namespace {

using R = SettingsRecord;

// The record's options and the engine's, side by side.
const std::pair<int SettingsRecord::*, int Options::*> kOptionFields[]
    = {{&R::rankingSortKey, &Options::rankingSortKey},
       {&R::refreshSeconds, &Options::refreshSeconds},
       {&R::ringOn, &Options::ringOn},
       {&R::priceAlarmOn, &Options::priceAlarmOn},
       {&R::flashOn, &Options::flashOn},
       {&R::bonusRightsNoticeOn, &Options::bonusRightsNoticeOn},
       {&R::newIssueNoticeOn, &Options::newIssueNoticeOn},
       {&R::rankingMarket, &Options::rankingMarket},
       {&R::rankingOn, &Options::rankingOn},
       {&R::chartOnAlarm, &Options::chartOnAlarm},
       {&R::bigOrderAlarmOn, &Options::bigOrderAlarmOn},
       {&R::changeAlarmOn, &Options::changeAlarmOn},
       {&R::volumeRatioAlarmOn, &Options::volumeRatioAlarmOn}};

} // namespace

SettingsRecord settingsRecord(int slot, const SlotSettings &slotSettings, const Options &options)
{
    SettingsRecord record;
    for (const auto &[mine, theirs] : kOptionFields)
        record.*mine = options.*theirs;
    record.stockIndex = slot + 1;
    record.stockCode = slotSettings.code;
    record.alarmPrice = slotSettings.priceAlarm;
    record.changeAlarmPct = slotSettings.changeAlarmPct;
    record.bigOrderAlarm = slotSettings.bigOrderAlarm;
    record.volumeRatioAlarm = slotSettings.volumeRatioAlarm;
    return record;
}

SlotSettings chosenSlotSettings(const SettingsRecord &record)
{
    return {record.stockCode, record.alarmPrice, record.changeAlarmPct, record.bigOrderAlarm,
            record.volumeRatioAlarm};
}

Options chosenOptions(const SettingsRecord &record)
{
    Options options;
    for (const auto &[mine, theirs] : kOptionFields)
        options.*theirs = record.*mine;
    return options;
}

} // namespace lark::ui
