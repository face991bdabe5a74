#include "quoteserver/live/day_bar.h"

#include "base/whole_number.h"
#include "quoteserver/live/decimal_text.h"
#include "quoteserver/model_time.h"

namespace lark::quoteserver {
namespace {

std::optional<int32_t> priceOf(std::string_view text)
{
    const auto value = scaledDecimal(text, 3);
    return value ? priceField(*value) : std::nullopt;
}

std::optional<int32_t> thousandsOfYuan(std::string_view text, int64_t yuanPerUnit)
{
    if (text.empty())
        return 0;
    const auto units = scaledDecimal(text, 3); // thousandths of a unit
    const auto yuan = units ? scaledCount(*units, yuanPerUnit) : std::nullopt;
    if (!yuan || *yuan < 0)
        return std::nullopt;
    return countField((*yuan + 500000) / 1000000);
}

} // namespace

std::optional<DayRecord> dayBarOf(const DayBarTexts &t)
{
    if (t.date.size() != 10 || t.date[4] != '-' || t.date[7] != '-')
        return std::nullopt;
    const std::string date = std::string(t.date.substr(0, 4)) + std::string(t.date.substr(5, 2))
        + std::string(t.date.substr(8, 2));
    const auto open = priceOf(t.open), close = priceOf(t.close), high = priceOf(t.high),
               low = priceOf(t.low);
    const auto lots = scaledDecimal(t.volumeLots, 0);
    const auto volume = lots ? countField(*lots) : std::nullopt;
    const auto amount = thousandsOfYuan(t.amount, t.yuanPerAmountUnit);
    if (!dayFromDateText(date) || !open || !close || !high || !low || !volume || !amount)
        return std::nullopt;
    return DayRecord {*wholeNumber<int32_t>(date), *open, *high, *low, *close, *volume, *amount};
}

} // namespace lark::quoteserver
