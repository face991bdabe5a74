#include "protocol/day_history.h"
#include "protocol/query_paths.h"
#include "protocol/wire_format.h"

#include <gtest/gtest.h>

using namespace lark;
using namespace lark::wire;

namespace {

std::tm localDate(int year, int month, int day, int hour = 10)
{
    std::tm t {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_isdst = -1;
    std::time_t normalised = std::mktime(&t);
    localtime_r(&normalised, &t);
    return t;
}

std::string historyReply(std::initializer_list<int32_t> volumes, size_t size)
{
    std::string bytes(size, '\x7f');
    int k = 0;
    for (int32_t v : volumes)
        writeInt32(bytes, 10 + 40 * k++ + 24, v);
    return bytes;
}

} // namespace

TEST(DayHistory, StartDateIsAWeekBackAcrossMonthYearAndLeapDay)
{
    EXPECT_EQ(dayHistoryDates(localDate(2000, 3, 5)).start, "20000227");
    EXPECT_EQ(dayHistoryDates(localDate(2000, 3, 1)).start, "20000223");
    EXPECT_EQ(dayHistoryDates(localDate(2000, 3, 3)).start, "20000225");
    EXPECT_EQ(dayHistoryDates(localDate(2001, 1, 8)).start, "20010101");
    EXPECT_EQ(dayHistoryDates(localDate(2024, 3, 1)).start, "20240223");
    EXPECT_EQ(dayHistoryDates(localDate(2001, 1, 3, 0)).start, "20001227");
    EXPECT_EQ(dayHistoryDates(localDate(2000, 3, 5)).end, "20000305");
}

TEST(DayHistory, PathJoinsCodeAndBothDates)
{
    auto dates = dayHistoryDates(localDate(2000, 10, 10));
    EXPECT_EQ(dayHistoryPath("600061", dates.start, dates.end),
              "/stksrv_curve/JGetHq3.dll?GetDayHisSH?507193&600061&1&1&20001003&20001010&96");
    EXPECT_EQ(dayHistoryPath("0001", "20000227", "20000305"),
              "/stksrv_curve/JGetHq3.dll?GetDayHisSZ?507193&0001&1&1&20000227&20000305&96");
    EXPECT_EQ(dayHistoryPath("", "1", "2"),
              "/stksrv_curve/JGetHq3.dll?GetDayHisSZ?507193&&1&1&1&2&96");
}

TEST(DayHistory, VolumesAtTheirOffsetsWhateverTheOtherBytesHold)
{
    std::string reply = historyReply({100, 200, 300, 400, 500}, 3968);
    EXPECT_EQ(dayHistoryVolumes(reply), (std::vector<int32_t> {100, 200, 300, 400, 500}));
    EXPECT_EQ(dayHistoryVolume(reply, 4), 500);
}

TEST(DayHistory, ShortReplyYieldsOnlyTheRecordsThatArrived)
{
    EXPECT_EQ(dayHistoryVolumes(historyReply({7, 8, 9}, 198 - 41)),
              (std::vector<int32_t> {7, 8, 9}));
    EXPECT_EQ(dayHistoryVolumes(historyReply({7, 8, 9, 10, 11}, 198)).size(), 5u);
    EXPECT_TRUE(dayHistoryVolumes(std::string(37, '\1')).empty());
    EXPECT_TRUE(dayHistoryVolumes("").empty());
}
