#include "protocol/stock_messages.h"

#include "protocol/query_paths.h"
#include "protocol/quote_session.h"
#include "protocol/wire_format.h"

namespace lark {
namespace {

// Far beyond both markets' lists; a longer reply fails the attempt.
constexpr size_t kListLimit = 8 * 1024 * 1024;

// One market: true when at least one whole record arrived.
bool fetchMarket(QuoteSession &session, bool shanghai, StockList &list, bool &received)
{
    std::string reply;
    bool ok = session.queryChunks(stockMessagesPath(shanghai), kListLimit,
                                  [&reply](std::string_view chunk) { reply.append(chunk); });
    if (!ok)
        return false;
    StockList fresh = StockList::fromReply(
        std::move(reply), shanghai ? wire::kShanghaiSkipMarker : wire::kShenzhenSkipMarker);
    received = fresh.count > 0;
    if (received)
        list = std::move(fresh);
    return received;
}

} // namespace

StockList StockList::fromReply(std::string bytes, char skipMarker)
{
    StockList list;
    list.count = static_cast<int>(bytes.size() / wire::kStockRecordSize);
    for (int k = 0; k < list.count; ++k)
        list.skip += bytes[k * wire::kStockRecordSize + wire::kStockKindOffset] == skipMarker;
    list.bytes = std::move(bytes);
    return list;
}

StockLists fetchStockMessages(QuoteSession &session)
{
    StockLists lists;
    for (int attempt = 0; attempt < kStockMessageAttempts && !lists.loaded(); ++attempt) {
        if (!fetchMarket(session, false, lists.shenzhen, lists.shenzhenReceived))
            continue;
        fetchMarket(session, true, lists.shanghai, lists.shanghaiReceived);
    }
    return lists;
}

} // namespace lark
