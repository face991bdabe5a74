#include "engine/volume_ratio.h"

#include <gtest/gtest.h>

using namespace lark;

namespace {

std::tm at(int hour, int minute)
{
    std::tm t {};
    t.tm_year = 124;
    t.tm_mday = 10;
    t.tm_hour = hour;
    t.tm_min = minute;
    return t;
}

} // namespace

TEST(VolumeRatio, TradingMinutesAtTheTableBoundaries)
{
    struct Case
    {
        int hour, minute, minutes;
    };
    for (Case c : {Case {9, 29, 240},
                   {9, 30, 240},
                   {9, 45, 240},
                   {10, 29, 240},
                   {10, 30, 60},
                   {12, 29, 179},
                   {12, 30, 90},
                   {13, 0, 120},
                   {15, 0, 240},
                   {15, 29, 269},
                   {15, 30, 240},
                   {8, 0, 240},
                   {0, 0, 240},
                   {23, 59, 240}})
        EXPECT_EQ(tradingMinutes(at(c.hour, c.minute)), c.minutes) << c.hour << ":" << c.minute;
}

TEST(VolumeRatio, WorkedValues)
{
    EXPECT_FLOAT_EQ(*volumeRatio(300000, 5000, at(10, 45)), 1.92f);
    EXPECT_FLOAT_EQ(*volumeRatio(600000, 5000, at(14, 0)), 1.60f);
    EXPECT_FLOAT_EQ(*volumeRatio(100000, 5000, at(10, 0)), 0.20f);
    EXPECT_FLOAT_EQ(*volumeRatio(600000, 5000, at(10, 15)), 1.20f);
    EXPECT_FLOAT_EQ(*volumeRatio(5000000, 10000, at(10, 0)), 5.0f);
}

TEST(VolumeRatio, NoRatioWithoutAPositiveBaseline)
{
    EXPECT_FALSE(volumeRatio(100000, 0, at(10, 0)).has_value());
    EXPECT_FALSE(volumeRatio(100000, -5, at(14, 0)).has_value());
}

TEST(VolumeRatio, LargeProductsDoNotOverflow)
{
    auto ratio = volumeRatio(2'000'000'000, 8'000'000, at(15, 29));
    ASSERT_TRUE(ratio.has_value());
    EXPECT_NEAR(*ratio, 2e9 * 240 / (8e6 * 269) / 100, 1e-4);
    EXPECT_GT(*volumeRatio(2'000'000'000, 1, at(10, 0)), 0.0f);
}
