#include "quoteserver/live/day_bar.h"

#include "base/whole_number.h"
#include "quoteserver/live/decimal_text.h"
#include "quoteserver/model_time.h"

namespace lark::quoteserver {
namespace {

std::optional<int32_t> thousandsOfYuan(std::string_view text, int64_t yuanPerUnit)
{
    if (text.empty())
        return 0;
    const auto thousandths = scaledDecimal(text, 3); // of a unit
    const auto milliYuan = thousandths ? scaledCount(*thousandths, yuanPerUnit) : std::nullopt;
    if (!milliYuan || *milliYuan < 0)
        return std::nullopt;
    return countField(*milliYuan / 1000000 + (*milliYuan % 1000000 >= 500000));
}

} // namespace

std::optional<DayRecord> dayBarOf(const DayBarTexts &t)
{
    if (t.date.size() != 10 || t.date[4] != '-' || t.date[7] != '-')
        return std::nullopt;
    const std::string date = std::string(t.date.substr(0, 4)) + std::string(t.date.substr(5, 2))
        + std::string(t.date.substr(8, 2));
    const auto open = priceFieldOf(t.open), close = priceFieldOf(t.close),
               high = priceFieldOf(t.high), low = priceFieldOf(t.low);
    const auto volume = countFieldOf(t.volumeLots, 1);
    const auto amount = thousandsOfYuan(t.amount, t.yuanPerAmountUnit);
    if (!dayFromDateText(date) || !open || !close || !high || !low || !volume || !amount)
        return std::nullopt;
    return DayRecord {*wholeNumber<int32_t>(date), *open, *high, *low, *close, *volume, *amount};
}

} // namespace lark::quoteserver
