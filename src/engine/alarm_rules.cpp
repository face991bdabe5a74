#include "engine/alarm_rules.h"

#include "base/c_format.h"
#include "engine/volume_ratio.h"
#include "protocol/instrument.h"
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

std::vector<FiredAlarm> fireAlarms(WatchTables &t, const Options &options, int s,
                                   const AlarmQuote &quote, const std::tm &now)
{
    std::vector<FiredAlarm> fired;
    // A volume its field could not carry is no figure to compare.
    const bool volumeKnown = quote.volume != wire::kNotCarried;
    if (options.volumeRatioAlarmOn && volumeKnown) {
        auto ratio = volumeRatio(quote.volume, t.volumeBaseline[s], now);
        if (ratio && t.volumeRatioAlarm[s] != 0 && *ratio > t.volumeRatioAlarm[s]) {
            fired.push_back({AlarmKind::VolumeRatio, *ratio, t.volumeRatioAlarm[s]});
            t.clearAlarm(AlarmTable::VolumeRatio, s);
        }
    }
    if (options.bigOrderAlarmOn && volumeKnown) {
        int64_t delta = int64_t(quote.volume) - t.lastBigOrderVolume;
        if (t.bigOrderAlarm[s] != 0 && delta > t.bigOrderAlarm[s]) {
            fired.push_back({AlarmKind::BigOrder, double(delta), double(t.bigOrderAlarm[s])});
            t.clearAlarm(AlarmTable::BigOrder, s);
            t.lastBigOrderVolume = quote.volume;
        }
    }
    if (options.priceAlarmOn && t.priceAlarm[s] != 0 && quote.last / 1000.0 > t.priceAlarm[s]) {
        fired.push_back({AlarmKind::Price, quote.last / 1000.0, t.priceAlarm[s]});
        t.clearAlarm(AlarmTable::Price, s);
    }
    if (options.changeAlarmOn && changeFires(t.changeAlarmPct[s], quote.changePct)) {
        fired.push_back({AlarmKind::ChangePct, quote.changePct, t.changeAlarmPct[s]});
        t.clearAlarm(AlarmTable::ChangePct, s);
    }
    return fired;
}

std::string alarmReason(const std::string &code, const std::string &name, const FiredAlarm &a)
{
    const int decimals = priceDecimals(code);
    std::string why;
    switch (a.kind) {
    case AlarmKind::Price:
        why = cformat("价格 %.*f 高于预警价 %.*f", decimals, a.figure, decimals, a.threshold);
        break;
    case AlarmKind::ChangePct:
        why = cformat("涨跌幅 %.2f%% %s %.2f%%", a.figure, a.threshold > 0 ? "高于" : "低于",
                      a.threshold);
        break;
    case AlarmKind::BigOrder:
        why = cformat("大单 %.0f股 超过 %.0f股", a.figure, a.threshold);
        break;
    case AlarmKind::VolumeRatio:
        why = cformat("量比 %.2f 高于 %.2f", a.figure, a.threshold);
        break;
    }
    return code + ' ' + name + ' ' + why;
}

} // namespace lark
