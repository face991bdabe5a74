#include "quoteserver/live/tencent_bars.h"

#include "base/whole_number.h"
#include "quoteserver/live/day_bar.h"
#include "quoteserver/live/decimal_text.h"
#include "quoteserver/live/quote_reply.h"
#include "quoteserver/model_time.h"

#include <nlohmann/json.hpp>

namespace lark::quoteserver {
namespace {

using nlohmann::json;

// The reply's data for the symbol; nullptr for another text or an error code.
const json *symbolData(const json &reply, const Instrument &instrument)
{
    if (!reply.is_object() || !reply.contains("data") || !reply["data"].is_object())
        return nullptr;
    const auto code = reply.find("code");
    if (code != reply.end() && *code != 0)
        return nullptr;
    const auto data = reply["data"].find(quoteSymbol(instrument));
    return data != reply["data"].end() && data->is_object() ? &*data : nullptr;
}

// [date, open, close, high, low, volume(lots), {}, turnover %, amount (10,000 yuan), ...]
std::optional<DayRecord> barOf(const json &bar)
{
    if (!bar.is_array() || bar.size() < 6)
        return std::nullopt;
    for (size_t i = 0; i < 6; ++i) {
        if (!bar[i].is_string())
            return std::nullopt;
    }
    if (bar.size() > 8 && !bar[8].is_string())
        return std::nullopt;
    const auto text
        = [&](size_t i) -> const std::string & { return bar[i].get_ref<const std::string &>(); };
    const std::string_view amount = bar.size() > 8 ? std::string_view(text(8)) : "";
    return dayBarOf({text(0), text(1), text(2), text(3), text(4), text(5), amount, 10000});
}

struct MinuteRow
{
    std::string_view hhmm;
    PathPoint point;
};

// "0930 28.05 21264 59645520.00": time, price, cumulative volume and amount.
std::optional<MinuteRow> rowOf(const json &row, int64_t sharesPerUnit)
{
    if (!row.is_string())
        return std::nullopt;
    const auto f = splitKeepingEmpty(row.get_ref<const std::string &>(), ' ');
    const auto minute
        = f.size() >= 3 ? sessionMinuteOfText(std::string(f[0]) + "00") : std::nullopt;
    const auto price = minute ? priceFieldOf(f[1]) : std::nullopt;
    const auto volume = minute ? countFieldOf(f[2], sharesPerUnit) : std::nullopt;
    if (!price || !volume)
        return std::nullopt;
    return MinuteRow {f[0], {*minute, *price, *volume}};
}

} // namespace

std::string tencentBarsTarget(const Instrument &instrument, int bars)
{
    return "/appstock/app/fqkline/get?param=" + quoteSymbol(instrument) + ",day,,,"
        + std::to_string(bars) + ",";
}

std::optional<Answer<std::vector<DayRecord>>> parseTencentBars(std::string_view text,
                                                               const Instrument &instrument)
{
    const json reply = json::parse(text, nullptr, false);
    const json *data = symbolData(reply, instrument);
    if (!data)
        return std::nullopt;
    const auto bars = data->contains("day") ? data->find("day") : data->find("qfqday");
    if (bars == data->end() || !bars->is_array() || bars->empty())
        return std::nullopt;
    std::vector<DayRecord> records;
    for (const json &bar : *bars) {
        const auto record = barOf(bar);
        if (!record)
            return std::nullopt;
        records.push_back(*record);
    }
    return Answer<std::vector<DayRecord>>::of(std::move(records));
}

std::string tencentMinutesTarget(const Instrument &instrument)
{
    return "/appstock/app/minute/query?code=" + quoteSymbol(instrument);
}

std::optional<Answer<MinuteDay>> parseTencentMinutes(std::string_view text,
                                                     const Instrument &instrument)
{
    const json reply = json::parse(text, nullptr, false);
    const json *data = symbolData(reply, instrument);
    if (!data || !data->contains("data") || !(*data)["data"].is_object())
        return std::nullopt;
    const json &day = (*data)["data"];
    const auto date = day.find("date"), rows = day.find("data");
    if (date == day.end() || !date->is_string() || !dayFromDateText(date->get<std::string>())
        || rows == day.end() || !rows->is_array() || rows->empty())
        return std::nullopt;
    MinuteDay minutes {*wholeNumber<int32_t>(date->get<std::string>()), {}};
    for (const json &row : *rows) {
        const auto minute = rowOf(row, instrument.star ? 1 : 100);
        if (!minute)
            return std::nullopt;
        if (minute->hhmm <= "1500") // later rows are after-hours trading
            minutes.points.push_back(minute->point);
    }
    return Answer<MinuteDay>::of(std::move(minutes));
}

} // namespace lark::quoteserver
