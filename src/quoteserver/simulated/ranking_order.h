#pragma once

#include "quoteserver/market_source.h"
#include "quoteserver/simulated/market_model.h"

#include <cstdint>
#include <vector>

namespace lark::quoteserver {

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

} // namespace lark::quoteserver
