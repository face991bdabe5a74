#include "protocol/ranking_reply.h"

#include "protocol/c_format.h"
#include "protocol/wire.h"

#include <algorithm>

namespace lark {

std::string rankingPath(int market, int sortKey, int first, int rows)
{
    static constexpr const char *kBoards[] = {"1&0", "1&1", "0&0", "0&1"};
    const char *board = market >= 0 && market <= 3 ? kBoards[market] : kBoards[2];
    return cformat("/stksrv_curve/JGetHq3.dll?GETORDERHQ?507193&%s&%d&%d&%d", board, sortKey, first,
                   rows);
}

RankingPage parseRanking(std::string_view reply)
{
    RankingPage page;
    int32_t count = reply.size() >= 8 ? readInt32(reply, 4) : 0;
    if (count < 0 || count > kRankingPageMax)
        count = 0;
    page.isLast = count < kRankingPageMax;
    int whole
        = static_cast<int>((reply.size() - std::min<size_t>(reply.size(), 8)) / kRankingRecordSize);
    for (int k = 0; k < std::min(count, whole); ++k) {
        size_t base = 8 + kRankingRecordSize * k;
        RankingRecord r;
        r.stockNumber = readInt32(reply, base);
        r.previousClose = readInt32(reply, base + 7);
        r.last = readInt32(reply, base + 23);
        r.bid1Price = readInt32(reply, base + 27);
        r.ask1Price = readInt32(reply, base + 51);
        r.volume = readInt32(reply, base + 75);
        page.records.push_back(r);
    }
    return page;
}

} // namespace lark
