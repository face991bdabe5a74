#pragma once

#include "quoteserver/market_model.h"
#include "quoteserver/quote_types.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lark::sim {

inline constexpr size_t kQuoteReplySize = 97;
inline constexpr size_t kHistoryHeaderSize = 10;
inline constexpr size_t kHistoryRecordSize = 40;
inline constexpr size_t kListRecordSize = 16;
inline constexpr uint8_t kShanghaiMarkerKind = 0x10;
inline constexpr uint8_t kShenzhenMarkerKind = 0x20;

std::string encodeQuote(const Quote &quote);
std::string encodeHistory(const std::vector<DayRecord> &records);

struct ListEntry
{
    uint8_t kind = 0;
    std::string_view code;
    std::string_view nameGbk;
};
std::string encodeStockList(const std::vector<ListEntry> &entries);

// Copies text into a fixed field, NUL padded, cut at the field's size.
void writeText(std::string &bytes, size_t offset, size_t size, std::string_view text);

} // namespace lark::sim
