#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lark {

struct RankingRecord
{
    int32_t stockNumber = 0;
    int32_t previousClose = 0;
    int32_t last = 0;
    int32_t bid1Price = 0;
    int32_t ask1Price = 0;
    int32_t volume = 0;
};

struct RankingPage
{
    std::vector<RankingRecord> records;
    bool isLast = true;
};

// Only whole records are read; a count outside 0..16 reads none.
RankingPage parseRanking(std::string_view reply);

} // namespace lark
