#include "quoteserver/live/eastmoney_history.h"

#include "quoteserver/live/decimal_text.h"

#include <nlohmann/json.hpp>

namespace lark::quoteserver {
namespace {

// "2024-03-12,open,close,high,low,volume(lots),amount(yuan)[,...]"
std::optional<DayRecord> readBar(std::string_view bar)
{
    const auto f = splitKeepingEmpty(bar, ',');
    if (f.size() < 7 || f[0].size() != 10 || f[0][4] != '-' || f[0][7] != '-')
        return std::nullopt;
    const std::string date = std::string(f[0].substr(0, 4)) + std::string(f[0].substr(5, 2))
        + std::string(f[0].substr(8, 2));
    const auto day = scaledDecimal(date, 0);
    const auto open = scaledDecimal(f[1], 3), close = scaledDecimal(f[2], 3),
               high = scaledDecimal(f[3], 3), low = scaledDecimal(f[4], 3),
               lots = scaledDecimal(f[5], 0), amount = scaledDecimal(f[6], 0);
    if (!day || !open || !close || !high || !low || !lots || !amount)
        return std::nullopt;
    return DayRecord {saturated(*day),          saturated(*open),  saturated(*high),
                      saturated(*low),          saturated(*close), saturated(*lots),
                      saturated(*amount / 1000)};
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
    std::vector<DayRecord> records;
    for (const auto &bar : data["klines"]) {
        const auto record = bar.is_string() ? readBar(bar.get<std::string>()) : std::nullopt;
        if (!record)
            return std::nullopt;
        records.push_back(*record);
    }
    return Result::of(std::move(records));
}

} // namespace lark::quoteserver
