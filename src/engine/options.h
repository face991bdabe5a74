#pragma once

namespace lark {

// Global alarm, alert and ranking options (0 = off), guarded by the engine's settingsLock.
// None of them is stored: every start begins with these values.
struct Options
{
    int priceAlarmOn = 1;
    int changeAlarmOn = 1;
    int bigOrderAlarmOn = 1;
    int volumeRatioAlarmOn = 1;
    int newIssueNoticeOn = 1;
    int bonusRightsNoticeOn = 1;
    int ringOn = 1;
    int flashOn = 1;
    int chartOnAlarm = 1;
    int rankingOn = 0;
    int rankingMarket = 0;
    int rankingSortKey = 3;
    int refreshSeconds = 5;

    bool operator==(const Options &) const = default;
};

} // namespace lark
