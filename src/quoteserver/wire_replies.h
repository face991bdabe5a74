#pragma once

#include "quoteserver/market_source.h"
#include "quoteserver/quote_types.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lark::quoteserver {

// The replies of the wire format, as the quote server sends them.
std::string encodeQuote(const Quote &quote);
std::string encodeHistory(const std::vector<DayRecord> &records);

std::string encodeStockList(const std::vector<ListedStock> &entries);

// The rows a ranking page holds: none from a first row past the end, at most 16.
int32_t rankingPageRows(int32_t total, int32_t first, int32_t wanted);
std::string encodeRanking(const RankingPage &page);

// Copies text into a fixed field, NUL padded, cut at the field's size.
void writeText(std::string &bytes, size_t offset, size_t size, std::string_view text);

} // namespace lark::quoteserver
