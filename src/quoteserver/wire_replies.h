#pragma once

#include "quoteserver/market_source.h"
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
inline constexpr int32_t kRankingPageMax = 16;
inline constexpr size_t kRankingHeaderSize = 8;
inline constexpr size_t kRankingRecordSize = 88;

std::string encodeQuote(const Quote &quote);
std::string encodeHistory(const std::vector<DayRecord> &records);

std::string encodeStockList(const std::vector<ListedStock> &entries);

// The rows a ranking page holds: none from a first row past the end, at most 16.
int32_t rankingPageRows(int32_t total, int32_t first, int32_t wanted);
std::string encodeRanking(const RankingPage &page);

// Copies text into a fixed field, NUL padded, cut at the field's size.
void writeText(std::string &bytes, size_t offset, size_t size, std::string_view text);

} // namespace lark::sim
