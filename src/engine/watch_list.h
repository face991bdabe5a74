#pragma once

#include "protocol/stock_code.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lark {

inline constexpr int kSlotCount = 16;

inline constexpr std::array<std::string_view, kSlotCount> kDefaultCodes {
    "0001",   "0002",   "0003",   "0004",   "0005",   "0006",   "0007",   "0008",
    "600061", "600062", "600063", "600064", "600065", "600066", "600067", "600068"};

enum class AlarmTable { Price, ChangePct, BigOrder, VolumeRatio };

// The watch list and its per-slot alarm settings (0 = off), guarded by the engine's
// settingsLock. Thresholds stay with their slot, not with the code in it.
struct WatchTables
{
    std::array<std::string, kSlotCount> watchCodes;
    std::array<float, kSlotCount> priceAlarm {};
    std::array<float, kSlotCount> changeAlarmPct {};
    std::array<int32_t, kSlotCount> bigOrderAlarm {};
    std::array<float, kSlotCount> volumeRatioAlarm {};
    std::array<int32_t, kSlotCount> volumeBaseline {};
    int32_t lastBigOrderVolume = 0;

    bool isEmptySlot(int slot) const { return isEmptyCode(watchCodes[slot]); }
    void resetForStart();
    void compactFrom(int row);
    void setSlot(int slot, std::string_view code, float price, float changePct, int32_t bigOrder,
                 float volumeRatio);
    void clearAlarm(AlarmTable table, int slot);
};

// Rows the refresh loop handles per interface size: large 16, medium 8, small 3.
int rowCount(int interfaceSize);

// A stored size the program has no layout for counts as the large one.
inline int validInterfaceSize(int size)
{
    return size >= 1 && size <= 3 ? size : 1;
}

} // namespace lark
