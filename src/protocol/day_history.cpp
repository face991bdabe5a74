#include "protocol/day_history.h"

#include "base/c_format.h"
#include "protocol/wire_format.h"

namespace lark {
namespace {

size_t volumeOffset(int k)
{
    return wire::kHistoryHeaderSize + wire::kHistoryRecordSize * k + wire::kHistoryVolumeOffset;
}

} // namespace

std::string dateText(const std::tm &date)
{
    return cformat("%d%02d%02d", date.tm_year + 1900, date.tm_mon + 1, date.tm_mday);
}

DayHistoryDates dayHistoryDates(const std::tm &now)
{
    std::tm copy = now;
    std::time_t weekAgo = std::mktime(&copy) - 7 * 24 * 60 * 60;
    std::tm start {};
    localtime_r(&weekAgo, &start);
    return {dateText(start), dateText(now)};
}

int32_t dayHistoryVolume(std::string_view reply, int k)
{
    return wire::readInt32(reply, volumeOffset(k));
}

std::vector<int32_t> dayHistoryVolumes(std::string_view reply)
{
    std::vector<int32_t> volumes;
    for (int k = 0; k < kDayHistoryRecordsUsed && volumeOffset(k) + 4 <= reply.size(); ++k)
        volumes.push_back(dayHistoryVolume(reply, k));
    return volumes;
}

} // namespace lark
