#include "quoteserver/live/eastmoney_boards.h"

#include "quoteserver/live/decimal_text.h"

#include <nlohmann/json.hpp>

#include <climits>

namespace lark::quoteserver {
namespace {

using nlohmann::json;

const char *const kFilters[] = {"m:1+t:2,m:1+t:23", "m:1+t:3", "m:0+t:6,m:0+t:80", "m:0+t:7"};

struct Order
{
    const char *field;
    int descending;
};

// The key's column and direction: f12 code, f6 amount, f5 volume, f3 change %, f7
// amplitude, f33 order ratio.
Order orderOf(SortKey key)
{
    switch (key) {
    case SortKey::Code:
        return {"f12", 0};
    case SortKey::Amount:
        return {"f6", 1};
    case SortKey::Volume:
        return {"f5", 1};
    case SortKey::Rise:
        return {"f3", 1};
    case SortKey::Fall:
        return {"f3", 0};
    case SortKey::Amplitude:
        return {"f7", 1};
    case SortKey::OrderRatio:
        return {"f33", 1};
    }
    return {"f3", 1};
}

std::string target(Board board, Order order, int page, const char *fields)
{
    return "/api/qt/clist/get?pn=" + std::to_string(page) + "&pz=" + std::to_string(kBoardPageRows)
        + "&po=" + std::to_string(order.descending) + "&np=1&fltt=2&invt=2&fid=" + order.field
        + "&fs=" + kFilters[static_cast<int>(board)] + "&fields=" + fields;
}

// A figure of the row scaled to the given decimals: nothing for the "-" of a figure the
// service does not have, false for one out of range.
struct Figure
{
    bool valid = true;
    std::optional<int64_t> value;
};

Figure figure(const json &row, const char *field, int decimals)
{
    const auto it = row.find(field);
    if (it == row.end() || !it->is_number())
        return {};
    const auto value = scaledNumber(it->get<double>(), decimals);
    return {value.has_value(), value};
}

// The figures of a ranking row; nullopt when one is out of range (1e308, a negative price).
// A suspended stock's "-" figures stay 0, its price the previous close.
std::optional<Quote> figuresOf(const json &row)
{
    bool valid = true;
    auto price = [&](const char *field) {
        const Figure f = figure(row, field, 3);
        const auto value = f.value ? priceField(*f.value) : std::optional<int32_t>(0);
        valid &= f.valid && value.has_value();
        return value.value_or(0);
    };
    auto count = [&](const char *field, int64_t factor) {
        const Figure f = figure(row, field, 0);
        const auto scaled = f.value ? scaledCount(*f.value, factor) : std::optional<int64_t>(0);
        const auto value = scaled ? countField(*scaled) : std::nullopt;
        valid &= f.valid && value.has_value();
        return value.value_or(0);
    };
    Quote q;
    q.previousClose = price("f18");
    q.open = price("f17");
    q.high = price("f15");
    q.low = price("f16");
    q.last = figure(row, "f2", 3).value ? price("f2") : q.previousClose;
    q.bid1Price = price("f31");
    q.ask1Price = price("f32");
    q.volume = count("f5", 100);
    q.amount = count("f6", 1);
    return valid ? std::optional(q) : std::nullopt;
}

std::optional<BoardRow> rowOf(const json &row)
{
    if (!row.is_object())
        return std::nullopt;
    const auto code = row.find("f12"), market = row.find("f13"), name = row.find("f14");
    if (code == row.end() || !code->is_string() || market == row.end() || !market->is_number()
        || name == row.end() || !name->is_string())
        return std::nullopt;
    const auto symbol = instrumentOf(code->get<std::string>());
    const auto figures = figuresOf(row);
    if (!symbol || !figures)
        return std::nullopt;
    return BoardRow {*symbol, protocolNameFromUtf8(name->get<std::string>()), *figures};
}

} // namespace

std::string boardListTarget(Board board, int page)
{
    return target(board, orderOf(SortKey::Code), page, "f12,f13,f14");
}

std::string boardRankingTarget(Board board, SortKey key, int page)
{
    return target(board, orderOf(key), page,
                  "f2,f3,f5,f6,f7,f12,f13,f14,f15,f16,f17,f18,f31,f32,f33");
}

std::optional<BoardPage> parseBoardPage(std::string_view text)
{
    const auto reply = json::parse(text, nullptr, false);
    if (reply.is_discarded() || !reply.is_object() || !reply.contains("data"))
        return std::nullopt;
    const auto &data = reply["data"];
    BoardPage page;
    if (data.is_null())
        return page;
    if (!data.is_object() || !data.contains("total") || !data["total"].is_number_integer()
        || !data.contains("diff") || !data["diff"].is_array())
        return std::nullopt;
    const auto total = data["total"].get<int64_t>();
    // A page longer than any the service serves is no page of it.
    if (total < 0 || total > INT32_MAX || data["diff"].size() > size_t(kBoardPageRows))
        return std::nullopt;
    page.total = static_cast<int32_t>(total);
    for (const auto &row : data["diff"]) {
        // A row the client could not name (no code, another exchange), or whose figures are
        // out of range, is left out.
        if (auto parsed = rowOf(row))
            page.rows.push_back(std::move(*parsed));
    }
    return page;
}

} // namespace lark::quoteserver
