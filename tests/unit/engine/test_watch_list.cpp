#include "engine/watch_list.h"

#include <gtest/gtest.h>

using namespace lark;

namespace {

WatchTables startTables()
{
    WatchTables t;
    t.resetForStart();
    return t;
}

} // namespace

TEST(WatchList, StartsWithShenzhenThenShanghaiDefaultsAndNoAlarms)
{
    WatchTables t;
    t.priceAlarm[3] = 5;
    t.bigOrderAlarm[15] = 1;
    t.resetForStart();
    EXPECT_EQ(t.watchCodes[0], "0001");
    EXPECT_EQ(t.watchCodes[7], "0008");
    EXPECT_EQ(t.watchCodes[12], "600065");
    EXPECT_EQ(t.priceAlarm[3], 0);
    EXPECT_EQ(t.bigOrderAlarm[15], 0);
}

TEST(WatchList, CompactionPullsTheNextCodeUpButLeavesThresholdsInPlace)
{
    WatchTables t = startTables();
    t.watchCodes[3] = "";
    t.watchCodes[4] = "";
    t.watchCodes[5] = "600061";
    t.priceAlarm[3] = 12.5f;
    t.compactFrom(3);
    EXPECT_EQ(t.watchCodes[3], "600061");
    EXPECT_EQ(t.watchCodes[4], "");
    EXPECT_EQ(t.watchCodes[5], "");
    EXPECT_EQ(t.watchCodes[6], "0007");
    EXPECT_EQ(t.priceAlarm[3], 12.5f);
}

TEST(WatchList, ShortCodeCountsAsEmptyAndIsOverwritten)
{
    WatchTables t = startTables();
    t.watchCodes[3] = "12";
    EXPECT_TRUE(t.isEmptySlot(3));
    t.compactFrom(3);
    EXPECT_EQ(t.watchCodes[3], "0005");
    EXPECT_EQ(t.watchCodes[4], "");
}

TEST(WatchList, CompactionOfAnEmptyTailLeavesTheSlotEmpty)
{
    WatchTables t = startTables();
    for (int slot = 10; slot < kSlotCount; ++slot)
        t.watchCodes[slot] = "";
    t.compactFrom(10);
    for (int slot = 10; slot < kSlotCount; ++slot)
        EXPECT_TRUE(t.isEmptySlot(slot));
    t.watchCodes[15] = "";
    t.compactFrom(15); // last slot has nothing below it
    EXPECT_EQ(t.watchCodes[15], "");
}

TEST(WatchList, RowCountFollowsTheInterfaceSize)
{
    EXPECT_EQ(rowCount(1), 16);
    EXPECT_EQ(rowCount(2), 8);
    EXPECT_EQ(rowCount(3), 3);
    EXPECT_EQ(validInterfaceSize(0), 1);
    EXPECT_EQ(validInterfaceSize(4), 1);
    EXPECT_EQ(validInterfaceSize(3), 3);
}

TEST(WatchList, SetSlotAndClearAlarmTouchOnlyTheirSlot)
{
    WatchTables t = startTables();
    t.setSlot(4, "600100", 10.5f, -3.0f, 50000, 2.5f);
    EXPECT_EQ(t.watchCodes[4], "600100");
    EXPECT_EQ(t.changeAlarmPct[4], -3.0f);
    t.clearAlarm(AlarmTable::BigOrder, 4);
    EXPECT_EQ(t.bigOrderAlarm[4], 0);
    EXPECT_EQ(t.volumeRatioAlarm[4], 2.5f);
    EXPECT_EQ(t.watchCodes[3], "0004");
}
