#include "quoteserver/query_replies.h"

#include "base/whole_number.h"
#include "protocol/wire_format.h"
#include "quoteserver/model_time.h"
#include "quoteserver/wire_replies.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace lark::quoteserver {
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

std::optional<SortKey> sortKeyFrom(int32_t value)
{
    if (value < 0 || value > static_cast<int32_t>(SortKey::OrderRatio))
        return std::nullopt;
    return static_cast<SortKey>(value);
}

// A source that could not get the figures: the connection ends after the headers, as a
// failed vendor query would, and the client keeps what it showed.
template<typename T>
std::optional<Reply> unanswered(const Answer<T> &answer)
{
    if (answer.outcome == Outcome::Failed)
        return droppedReply();
    if (answer.outcome == Outcome::Unknown)
        return textReply(kNoSuchStock);
    return std::nullopt;
}

Reply binaryReply(std::string bytes, bool chunked = false)
{
    return Reply {200, "application/octet-stream", std::move(bytes), chunked};
}

Reply realTimeQuote(const Query &q, MarketSource &source, bool shanghai)
{
    if (q.args.size() != 1)
        return textReply(kNoSuchStock);
    const Answer<Quote> answer = source.quote(q.args[0], shanghai);
    if (auto reply = unanswered(answer))
        return *reply;
    return binaryReply(encodeQuote(answer.value));
}

Reply dayHistory(const Query &q, MarketSource &source, bool shanghai)
{
    if (q.args.size() != 6)
        return textReply(kBadArguments);
    const auto first = dayFromDateText(q.args[3]), end = dayFromDateText(q.args[4]);
    if (!first || !end)
        return textReply("bad date");
    const auto max = wholeNumber<int32_t>(q.args[5]);
    if (!max)
        return textReply(kBadArguments);
    const auto answer = source.history(q.args[0], shanghai, *first, *end,
                                       std::clamp(*max, 0, kMaxHistoryRecords));
    if (auto reply = unanswered(answer))
        return *reply;
    return binaryReply(encodeHistory(answer.value));
}

Reply stockList(MarketSource &source, bool shanghai)
{
    const auto answer = source.stockList(shanghai);
    if (auto reply = unanswered(answer))
        return *reply;
    return binaryReply(encodeStockList(answer.value), true);
}

Reply ranking(const Query &q, MarketSource &source)
{
    std::optional<int32_t> n[5];
    for (size_t i = 0; i < 5 && i < q.args.size(); ++i)
        n[i] = wholeNumber<int32_t>(q.args[i]);
    const auto key = n[2] ? sortKeyFrom(*n[2]) : std::nullopt;
    if (q.args.size() != 5 || !n[0] || !n[1] || !key || !n[3] || !n[4] || *n[0] < 0 || *n[0] > 1
        || *n[1] < 0 || *n[1] > 1)
        return textReply(kBadArguments);
    const Board board = *n[0] == 1 ? (*n[1] == 0 ? Board::ShanghaiA : Board::ShanghaiB)
                                   : (*n[1] == 0 ? Board::ShenzhenA : Board::ShenzhenB);
    const auto answer = source.ranking(board, *key, *n[3], *n[4]);
    if (auto reply = unanswered(answer))
        return *reply;
    return binaryReply(encodeRanking(answer.value));
}

} // namespace

Reply answerQuery(std::string_view text, MarketSource &source)
{
    const Query q = parseQuery(text);
    using namespace wire;
    const std::string_view name = q.name;
    const bool known = name == kQuoteQueryShanghai || name == kQuoteQueryShenzhen
        || name == kHistoryQueryShanghai || name == kHistoryQueryShenzhen
        || name == kStockListQueryShanghai || name == kStockListQueryShenzhen
        || name == kRankingQuery;
    if (!known)
        return errorPage(404, "Unknown query.");
    if (q.accessCode != kAccessCode)
        return errorPage(403, "Access denied.");
    if (name == kQuoteQueryShanghai || name == kQuoteQueryShenzhen)
        return realTimeQuote(q, source, name == kQuoteQueryShanghai);
    if (name == kHistoryQueryShanghai || name == kHistoryQueryShenzhen)
        return dayHistory(q, source, name == kHistoryQueryShanghai);
    if (name == kStockListQueryShanghai || name == kStockListQueryShenzhen)
        return stockList(source, name == kStockListQueryShanghai);
    return ranking(q, source);
}

} // namespace lark::quoteserver
