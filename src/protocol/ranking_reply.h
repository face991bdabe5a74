#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lark {

inline constexpr int kRankingPageMax = 16;
inline constexpr size_t kRankingRecordSize = 88;
inline constexpr size_t kRankingReadLimit = 8 + kRankingPageMax * kRankingRecordSize;

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

// Board 0 SH A, 1 SH B, 2 SZ A, 3 SZ B; any other board asks for SZ A.
std::string rankingPath(int market, int sortKey, int first, int rows);
// Only whole records are read; a count outside 0..16 reads none.
RankingPage parseRanking(std::string_view reply);

} // namespace lark
