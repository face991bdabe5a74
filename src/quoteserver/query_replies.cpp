#include "quoteserver/query_replies.h"

#include "protocol/wire.h"
#include "quoteserver/ranking.h"
#include "quoteserver/wire_replies.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

namespace lark::sim {
namespace {

// A client checks replies by their length; short texts are never mistaken for data.
const char *const kNoSuchStock = "no such stock";
const char *const kBadArguments = "bad arguments";
constexpr int32_t kMaxHistoryRecords = 5000;

struct Query
{
    std::string_view name;
    std::optional<std::string_view> accessCode;
    std::vector<std::string_view> args;
};

Query parseQuery(std::string_view text)
{
    Query q;
    // A query without its access code may still carry arguments: "Name&600061".
    const size_t mark = text.find_first_of("?&");
    q.name = text.substr(0, mark);
    if (mark == std::string_view::npos || text[mark] == '&')
        return q;
    // The access code, then each argument, all separated by '&'.
    size_t start = mark + 1;
    for (;;) {
        const size_t amp = text.find('&', start);
        const std::string_view part = text.substr(start, amp - start);
        if (!q.accessCode)
            q.accessCode = part;
        else
            q.args.push_back(part);
        if (amp == std::string_view::npos)
            return q;
        start = amp + 1;
    }
}

std::optional<int32_t> parseInt(std::string_view text)
{
    int32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

const Stock *stockOfMarket(const MarketView &view, std::string_view code, bool shanghai)
{
    const Stock *stock = view.model().find(code);
    return stock && isShanghai(stock->board) == shanghai ? stock : nullptr;
}

Reply realTimeQuote(const Query &q, const MarketView &view, bool shanghai)
{
    const Stock *stock = q.args.size() == 1 ? stockOfMarket(view, q.args[0], shanghai) : nullptr;
    if (!stock)
        return textReply(kNoSuchStock);
    return Reply {200, "application/octet-stream", encodeQuote(view.quote(*stock)), false};
}

Reply dayHistory(const Query &q, const MarketView &view, bool shanghai)
{
    if (q.args.size() != 6)
        return textReply(kBadArguments);
    const Stock *stock = stockOfMarket(view, q.args[0], shanghai);
    if (!stock)
        return textReply(kNoSuchStock);
    const auto first = dayFromDateText(q.args[3]), end = dayFromDateText(q.args[4]);
    if (!first || !end)
        return textReply("bad date");
    const auto max = parseInt(q.args[5]);
    if (!max)
        return textReply(kBadArguments);
    // Today is still trading: history stops before it whatever end date is asked.
    const int32_t today = localMoment(view.time()).day;
    const auto records = view.model().history(*stock, *first, std::min(*end, today),
                                              std::clamp(*max, 0, kMaxHistoryRecords));
    return Reply {200, "application/octet-stream", encodeHistory(records), false};
}

Reply stockList(const MarketView &view, bool shanghai)
{
    std::vector<ListEntry> entries;
    const uint8_t markerKind = shanghai ? kShanghaiMarkerKind : kShenzhenMarkerKind;
    for (const ListMarker &m : view.model().markers(shanghai))
        entries.push_back({markerKind, m.code, m.nameGbk});
    // A board then B board, as the client numbers them.
    const Board boards[] = {shanghai ? Board::ShanghaiA : Board::ShenzhenA,
                            shanghai ? Board::ShanghaiB : Board::ShenzhenB};
    for (Board board : boards) {
        for (const Stock &stock : view.model().board(board))
            entries.push_back({0, stock.code, view.nameOf(stock)});
    }
    return Reply {200, "application/octet-stream", encodeStockList(entries), true};
}

Reply ranking(const Query &q, const MarketView &view)
{
    std::optional<int32_t> n[5];
    for (size_t i = 0; i < 5 && i < q.args.size(); ++i)
        n[i] = parseInt(q.args[i]);
    const auto key = n[2] ? sortKeyFrom(*n[2]) : std::nullopt;
    if (q.args.size() != 5 || !n[0] || !n[1] || !key || !n[3] || !n[4] || *n[0] < 0 || *n[0] > 1
        || *n[1] < 0 || *n[1] > 1)
        return textReply(kBadArguments);
    const Board board = *n[0] == 1 ? (*n[1] == 0 ? Board::ShanghaiA : Board::ShanghaiB)
                                   : (*n[1] == 0 ? Board::ShenzhenA : Board::ShenzhenB);
    std::vector<RankedStock> stocks;
    for (const Stock &stock : view.model().board(board))
        stocks.push_back({view.model().stockNumber(stock), &stock, view.quote(stock)});
    sortRanking(stocks, *key);
    return Reply {200, "application/octet-stream", encodeRanking(stocks, *n[3], *n[4]), false};
}

} // namespace

Reply answerQuery(std::string_view text, const MarketView &view)
{
    const Query q = parseQuery(text);
    const std::string_view name = q.name;
    const bool known = name == "GetStkOneHQWithNameSH" || name == "GetStkOneHQWithNameSZ"
        || name == "GetDayHisSH" || name == "GetDayHisSZ" || name == "getstkmsgsh"
        || name == "getstkmsgsz" || name == "GETORDERHQ";
    if (!known)
        return errorPage(404, "Unknown query.");
    if (q.accessCode != kAccessCode)
        return errorPage(403, "Access denied.");
    if (name.starts_with("GetStkOneHQWithName"))
        return realTimeQuote(q, view, name.ends_with("SH"));
    if (name.starts_with("GetDayHis"))
        return dayHistory(q, view, name.ends_with("SH"));
    if (name.starts_with("getstkmsg"))
        return stockList(view, name.ends_with("sh"));
    return ranking(q, view);
}

} // namespace lark::sim
