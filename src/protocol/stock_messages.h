#pragma once

#include <string>
#include <string_view>

namespace lark {

class QuoteSession;

inline constexpr size_t kStockRecordSize = 16;
inline constexpr int kStockMessageAttempts = 51;
inline constexpr char kShanghaiSkipMarker = 0x10;
inline constexpr char kShenzhenSkipMarker = 0x20;

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

std::string stockMessagesPath(bool shanghai);

// Fetches both markets, Shenzhen first, repeating the whole fetch until both arrived or the
// attempts are used up.
StockLists fetchStockMessages(QuoteSession &session);

} // namespace lark
