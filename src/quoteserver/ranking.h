#pragma once

#include "quoteserver/market_model.h"
#include "quoteserver/quote_types.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lark::sim {

inline constexpr int32_t kRankingPageMax = 16;
inline constexpr size_t kRankingHeaderSize = 8;
inline constexpr size_t kRankingRecordSize = 88;

enum class SortKey { Code, Amount, Volume, Rise, Fall, Amplitude, OrderRatio };
std::optional<SortKey> sortKeyFrom(int32_t value);

struct RankedStock
{
    int32_t number = 0;
    const Stock *stock = nullptr;
    Quote quote;
};

// The measures the keys sort by; 0 when the previous close or the book is empty.
double changeRatio(const Quote &q);
double amplitudeRatio(const Quote &q);
double orderRatio(const Quote &q);

// Best first for every key but Fall; ties by code.
void sortRanking(std::vector<RankedStock> &stocks, SortKey key);
std::string encodeRanking(const std::vector<RankedStock> &sorted, int32_t first, int32_t wanted);

} // namespace lark::sim
