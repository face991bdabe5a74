#include "quoteserver/live/eastmoney_history.h"

#include "quoteserver/live/day_bar.h"
#include "quoteserver/live/decimal_text.h"

#include <nlohmann/json.hpp>

namespace lark::quoteserver {
namespace {

// "2024-03-12,open,close,high,low,volume(lots),amount(yuan)[,...]"
std::optional<DayRecord> readBar(std::string_view bar)
{
    const auto f = splitKeepingEmpty(bar, ',');
    if (f.size() < 7)
        return std::nullopt;
    return dayBarOf({f[0], f[1], f[2], f[3], f[4], f[5], f[6], 1});
}

} // namespace

std::string klineTarget(const Instrument &symbol, int bars)
{
    return "/api/qt/stock/kline/get?secid=" + eastmoneySecid(symbol)
        + "&fields1=f1,f2,f3&fields2=f51,f52,f53,f54,f55,f56,f57&klt=101&fqt=0&end=20500101&lmt="
        + std::to_string(bars);
}

std::optional<Answer<std::vector<DayRecord>>> parseKlines(std::string_view json)
{
    using Result = Answer<std::vector<DayRecord>>;
    const auto reply = nlohmann::json::parse(json, nullptr, false);
    if (reply.is_discarded() || !reply.is_object() || !reply.contains("data"))
        return std::nullopt;
    const auto &data = reply["data"];
    if (data.is_null())
        return Result::unknown();
    if (!data.is_object() || !data.contains("klines") || !data["klines"].is_array())
        return std::nullopt;
    const auto &klines = data["klines"];
    // No bars although the service counts some: it held them back (throttling), since the
    // bars asked for always end with the latest.
    const auto total = data.find("dktotal");
    if (klines.empty() && (total == data.end() || !total->is_number() || *total != 0))
        return std::nullopt;
    std::vector<DayRecord> records;
    for (const auto &bar : klines) {
        const auto record = bar.is_string() ? readBar(bar.get<std::string>()) : std::nullopt;
        if (!record)
            return std::nullopt;
        records.push_back(*record);
    }
    return Result::of(std::move(records));
}

} // namespace lark::quoteserver
