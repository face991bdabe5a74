#include "protocol/day_history.h"

#include "protocol/c_format.h"
#include "protocol/stock_code.h"
#include "protocol/url_escape.h"
#include "protocol/wire.h"

namespace lark {
namespace {

constexpr size_t kHeaderSize = 10;
constexpr size_t kRecordSize = 40;
constexpr size_t kVolumeOffset = 24;

size_t volumeOffset(int k)
{
    return kHeaderSize + kRecordSize * k + kVolumeOffset;
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

std::string dayHistoryPath(std::string_view code, std::string_view start, std::string_view end)
{
    std::string path(kQueryHead);
    path += isShanghaiCode(code) ? "GetDayHisSH?" : "GetDayHisSZ?";
    path += kAccessCode;
    path += '&';
    path += urlEscaped(code);
    path += "&1&1&";
    path += start;
    path += '&';
    path += end;
    path += "&96";
    return path;
}

int32_t dayHistoryVolume(std::string_view reply, int k)
{
    return readInt32(reply, volumeOffset(k));
}

std::vector<int32_t> dayHistoryVolumes(std::string_view reply)
{
    std::vector<int32_t> volumes;
    for (int k = 0; k < kDayHistoryRecordsUsed && volumeOffset(k) + 4 <= reply.size(); ++k)
        volumes.push_back(dayHistoryVolume(reply, k));
    return volumes;
}

} // namespace lark
