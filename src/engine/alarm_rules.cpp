#include "engine/alarm_rules.h"

#include "engine/volume_ratio.h"
#include "protocol/wire_format.h"

namespace lark {
namespace {

bool changeFires(float threshold, float changePct)
{
    // Exactly +-10 is the daily limit, which a price never passes: watch 9.5 instead.
    if (threshold > 0)
        return changePct > (threshold == 10.0f ? 9.5f : threshold);
    if (threshold < 0)
        return changePct < (threshold == -10.0f ? -9.5f : threshold);
    return false;
}

} // namespace

std::vector<AlarmKind> fireAlarms(WatchTables &t, const Options &options, int s,
                                  const AlarmQuote &quote, const std::tm &now)
{
    std::vector<AlarmKind> fired;
    // A volume its field could not carry is no figure to compare.
    const bool volumeKnown = quote.volume != wire::kNotCarried;
    if (options.volumeRatioAlarmOn && volumeKnown) {
        auto ratio = volumeRatio(quote.volume, t.volumeBaseline[s], now);
        if (ratio && t.volumeRatioAlarm[s] != 0 && *ratio > t.volumeRatioAlarm[s]) {
            t.clearAlarm(AlarmTable::VolumeRatio, s);
            fired.push_back(AlarmKind::VolumeRatio);
        }
    }
    if (options.bigOrderAlarmOn && volumeKnown) {
        int64_t delta = int64_t(quote.volume) - t.lastBigOrderVolume;
        if (t.bigOrderAlarm[s] != 0 && delta > t.bigOrderAlarm[s]) {
            t.clearAlarm(AlarmTable::BigOrder, s);
            t.lastBigOrderVolume = quote.volume;
            fired.push_back(AlarmKind::BigOrder);
        }
    }
    if (options.priceAlarmOn && t.priceAlarm[s] != 0 && quote.last / 1000.0 > t.priceAlarm[s]) {
        t.clearAlarm(AlarmTable::Price, s);
        fired.push_back(AlarmKind::Price);
    }
    if (options.changeAlarmOn && changeFires(t.changeAlarmPct[s], quote.changePct)) {
        t.clearAlarm(AlarmTable::ChangePct, s);
        fired.push_back(AlarmKind::ChangePct);
    }
    return fired;
}

} // namespace lark
