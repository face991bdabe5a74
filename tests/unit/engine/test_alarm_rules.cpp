#include "engine/alarm_rules.h"
#include "protocol/wire_format.h"

#include <gtest/gtest.h>

using namespace lark;

namespace {

std::tm tenOClock()
{
    std::tm t {};
    t.tm_hour = 10;
    return t;
}

struct AlarmRules : ::testing::Test
{
    WatchTables t;
    Options options;

    std::vector<FiredAlarm> fired;
    std::vector<AlarmKind> fire(int32_t last, int32_t volume, float changePct, int slot = 2)
    {
        fired = fireAlarms(t, options, slot, {last, volume, changePct}, tenOClock());
        std::vector<AlarmKind> kinds;
        for (const FiredAlarm &alarm : fired)
            kinds.push_back(alarm.kind);
        return kinds;
    }
};

using Kinds = std::vector<AlarmKind>;

} // namespace

TEST_F(AlarmRules, PriceFiresOnlyAboveAndOnlyOnce)
{
    t.priceAlarm[2] = 12.0f;
    EXPECT_TRUE(fire(12000, 0, 0).empty());
    EXPECT_EQ(fire(12010, 0, 0), Kinds {AlarmKind::Price});
    EXPECT_EQ(t.priceAlarm[2], 0);
    EXPECT_TRUE(fire(13000, 0, 0).empty());
}

TEST_F(AlarmRules, ChangeThresholdsWatchTheirDirectionAndTenMeansNineAndAHalf)
{
    struct Case
    {
        float threshold, change;
        bool fires;
    };
    for (Case c : {Case {10, 9.6f, true},
                   {10, 9.5f, false},
                   {-10, -9.51f, true},
                   {-10, -9.5f, false},
                   {3, 3.0f, false},
                   {3, 3.01f, true},
                   {-3, 2, false},
                   {-3, -3.5f, true},
                   {10.5f, 10.4f, false},
                   {-11, -10.5f, false}}) {
        t.changeAlarmPct[2] = c.threshold;
        EXPECT_EQ(!fire(1000, 0, c.change).empty(), c.fires) << c.threshold << " vs " << c.change;
        EXPECT_EQ(t.changeAlarmPct[2] == 0, c.fires);
    }
}

TEST_F(AlarmRules, BigOrderMeasuresAgainstTheLastBigOrderOfAnySlot)
{
    t.bigOrderAlarm[2] = 500000;
    t.bigOrderAlarm[5] = 500000;
    EXPECT_EQ(fire(1000, 600000, 0), Kinds {AlarmKind::BigOrder});
    EXPECT_EQ(t.lastBigOrderVolume, 600000);
    EXPECT_TRUE(fire(1000, 1000000, 0, 5).empty()); // 400000 over the last one
    EXPECT_EQ(fire(1000, 1100001, 0, 5), Kinds {AlarmKind::BigOrder});
}

// Each alarm says why it rang: the stock, its name, the rule, the figure and the threshold.
TEST_F(AlarmRules, EveryAlarmSaysWhyItRang)
{
    t.volumeBaseline[2] = 10000;
    t.volumeRatioAlarm[2] = 4.9f;
    t.bigOrderAlarm[2] = 500000;
    t.priceAlarm[2] = 7.0f;
    t.changeAlarmPct[2] = -3.0f;
    fire(7050, 5000000, -3.52f);
    std::vector<std::string> reasons;
    for (const FiredAlarm &alarm : fired)
        reasons.push_back(alarmReason("600061", "国投资本", alarm));
    EXPECT_EQ(reasons,
              (std::vector<std::string> {"600061 国投资本 量比 5.00 高于 4.90",
                                         "600061 国投资本 大单 5000000股 超过 500000股",
                                         "600061 国投资本 价格 7.05 高于预警价 7.00",
                                         "600061 国投资本 涨跌幅 -3.52% 低于 -3.00%"}));
    EXPECT_EQ(alarmReason("510300", "300ETF", {AlarmKind::Price, 3.912, 3.9}),
              "510300 300ETF 价格 3.912 高于预警价 3.900");
}

TEST_F(AlarmRules, AVolumeItsFieldCouldNotCarryRaisesNoVolumeAlarm)
{
    t.bigOrderAlarm[2] = -1;
    t.volumeBaseline[2] = 10000;
    t.volumeRatioAlarm[2] = -1.0f;
    EXPECT_TRUE(fire(1000, wire::kNotCarried, 0).empty());
    EXPECT_EQ(t.bigOrderAlarm[2], -1);
}

TEST_F(AlarmRules, VolumeRatioNeedsABaseline)
{
    t.volumeRatioAlarm[2] = 4.9f;
    EXPECT_TRUE(fire(1000, 5000000, 0).empty()); // baseline 0: no ratio
    t.volumeBaseline[2] = 10000;
    t.volumeRatioAlarm[2] = 5.0f;
    EXPECT_TRUE(fire(1000, 5000000, 0).empty());
    t.volumeRatioAlarm[2] = 4.9f;
    EXPECT_EQ(fire(1000, 5000000, 0), Kinds {AlarmKind::VolumeRatio});
}

TEST_F(AlarmRules, AllFourFireInTheirFixedOrder)
{
    t.volumeBaseline[2] = 10000;
    t.volumeRatioAlarm[2] = 1;
    t.bigOrderAlarm[2] = 1;
    t.priceAlarm[2] = 1;
    t.changeAlarmPct[2] = 1;
    EXPECT_EQ(fire(5000, 5000000, 2),
              (Kinds {AlarmKind::VolumeRatio, AlarmKind::BigOrder, AlarmKind::Price,
                      AlarmKind::ChangePct}));
}

TEST_F(AlarmRules, AnOptionOffLeavesItsThresholdArmed)
{
    options.bigOrderAlarmOn = 0;
    options.priceAlarmOn = 0;
    t.bigOrderAlarm[2] = 1;
    t.priceAlarm[2] = 1;
    EXPECT_TRUE(fire(5000, 5000000, 0).empty());
    EXPECT_EQ(t.bigOrderAlarm[2], 1);
    EXPECT_EQ(t.priceAlarm[2], 1);
    EXPECT_EQ(t.lastBigOrderVolume, 0);
}
