#include "engine/watch_list.h"

namespace lark {

int rowCount(int interfaceSize)
{
    switch (interfaceSize) {
    case 2:
        return 8;
    case 3:
        return 3;
    default:
        return 16;
    }
}

void WatchTables::resetForStart()
{
    for (int slot = 0; slot < kSlotCount; ++slot)
        watchCodes[slot] = kDefaultCodes[slot];
    priceAlarm.fill(0);
    changeAlarmPct.fill(0);
    bigOrderAlarm.fill(0);
    volumeRatioAlarm.fill(0);
}

// Pulls the next usable code up into an empty slot; a short code met on the way is lost.
void WatchTables::compactFrom(int row)
{
    int j = row;
    while (isEmptySlot(row) && j < kSlotCount - 1) {
        ++j;
        watchCodes[row] = watchCodes[j];
        watchCodes[j].clear();
    }
}

void WatchTables::setSlot(int slot, std::string_view code, float price, float changePct,
                          int32_t bigOrder, float volumeRatio)
{
    watchCodes[slot] = code;
    priceAlarm[slot] = price;
    changeAlarmPct[slot] = changePct;
    bigOrderAlarm[slot] = bigOrder;
    volumeRatioAlarm[slot] = volumeRatio;
}

void WatchTables::clearAlarm(AlarmTable table, int slot)
{
    switch (table) {
    case AlarmTable::Price:
        priceAlarm[slot] = 0;
        break;
    case AlarmTable::ChangePct:
        changeAlarmPct[slot] = 0;
        break;
    case AlarmTable::BigOrder:
        bigOrderAlarm[slot] = 0;
        break;
    case AlarmTable::VolumeRatio:
        volumeRatioAlarm[slot] = 0;
        break;
    }
}

} // namespace lark
