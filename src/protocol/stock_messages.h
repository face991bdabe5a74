#pragma once

#include <string>
#include <string_view>

namespace lark {

class QuoteSession;

inline constexpr int kStockMessageAttempts = 51;

// One market's list of 16-byte records: kind byte, 6 code bytes, 8 name bytes (GBK), 1 spare.
struct StockList
{
    std::string bytes; // kept whole, as received
    int count = 0; // whole records
    int skip = 0; // records carrying the market's skip marker, wherever they stand

    static StockList fromReply(std::string bytes, char skipMarker);
};

struct StockLists
{
    StockList shanghai;
    StockList shenzhen;
    bool shanghaiReceived = false;
    bool shenzhenReceived = false;

    bool loaded() const { return shanghaiReceived && shenzhenReceived; }
};

// Fetches both markets, Shenzhen first, repeating the whole fetch until both arrived or the
// attempts are used up.
StockLists fetchStockMessages(QuoteSession &session);

} // namespace lark
