#include "protocol/ranking_reply.h"

#include "protocol/wire_format.h"

#include <algorithm>

namespace lark {

RankingPage parseRanking(std::string_view reply)
{
    RankingPage page;
    using namespace wire;
    int32_t count = reply.size() >= kRankingHeaderSize ? readInt32(reply, kRankingCountOffset) : 0;
    if (count < 0 || count > kRankingPageMax)
        count = 0;
    page.isLast = count < kRankingPageMax;
    const size_t body = reply.size() - std::min(reply.size(), kRankingHeaderSize);
    const int whole = static_cast<int>(body / kRankingRecordSize);
    for (int k = 0; k < std::min(count, whole); ++k) {
        const size_t base = kRankingHeaderSize + kRankingRecordSize * k;
        const size_t figures = base + kRankingFiguresOffset;
        auto figure
            = [&](int32_t QuoteFigures::*f) { return readInt32(reply, figures + figureOffset(f)); };
        RankingRecord r;
        r.stockNumber = readInt32(reply, base + kRankingNumberOffset);
        r.previousClose = figure(&QuoteFigures::previousClose);
        r.last = figure(&QuoteFigures::last);
        r.bid1Price = figure(&QuoteFigures::bid1Price);
        r.ask1Price = figure(&QuoteFigures::ask1Price);
        r.volume = figure(&QuoteFigures::volume);
        page.records.push_back(r);
    }
    return page;
}

} // namespace lark
