#include "quoteserver/ranking.h"

#include "protocol/wire.h"

#include <algorithm>

namespace lark::sim {
namespace {

double ratio(double numerator, double denominator)
{
    return denominator > 0 ? numerator / denominator : 0.0;
}

// Larger sorts first; Fall flips the sign of the change.
double measure(const Quote &q, SortKey key)
{
    switch (key) {
    case SortKey::Code:
        return 0.0;
    case SortKey::Amount:
        return q.amount;
    case SortKey::Volume:
        return q.volume;
    case SortKey::Rise:
        return changeRatio(q);
    case SortKey::Fall:
        return -changeRatio(q);
    case SortKey::Amplitude:
        return amplitudeRatio(q);
    case SortKey::OrderRatio:
        return orderRatio(q);
    }
    return 0.0;
}

} // namespace

std::optional<SortKey> sortKeyFrom(int32_t value)
{
    if (value < 0 || value > static_cast<int32_t>(SortKey::OrderRatio))
        return std::nullopt;
    return static_cast<SortKey>(value);
}

// Integer figures widen exactly to double and division rounds correctly, so equal
// ratios compare equal and fall back to the code.
double changeRatio(const Quote &q)
{
    return ratio(double(q.last) - q.previousClose, q.previousClose);
}

double amplitudeRatio(const Quote &q)
{
    return ratio(double(q.high) - q.low, q.previousClose);
}

double orderRatio(const Quote &q)
{
    const double bids = double(q.bid1Volume) + q.bid2Volume + q.bid3Volume;
    const double asks = double(q.ask1Volume) + q.ask2Volume + q.ask3Volume;
    return ratio(bids - asks, bids + asks);
}

void sortRanking(std::vector<RankedStock> &stocks, SortKey key)
{
    std::vector<std::pair<double, size_t>> order;
    order.reserve(stocks.size());
    for (size_t i = 0; i < stocks.size(); ++i)
        order.emplace_back(measure(stocks[i].quote, key), i);
    std::sort(order.begin(), order.end(), [&](const auto &a, const auto &b) {
        if (a.first != b.first)
            return a.first > b.first;
        return stocks[a.second].stock->code < stocks[b.second].stock->code;
    });
    std::vector<RankedStock> sorted;
    sorted.reserve(stocks.size());
    for (const auto &entry : order)
        sorted.push_back(std::move(stocks[entry.second]));
    stocks = std::move(sorted);
}

std::string encodeRanking(const std::vector<RankedStock> &sorted, int32_t first, int32_t wanted)
{
    const auto total = static_cast<int32_t>(sorted.size());
    const int32_t count = first < 0 || first >= total
        ? 0
        : std::clamp(std::min(wanted, kRankingPageMax), 0, total - first);
    std::string bytes(kRankingHeaderSize + kRankingRecordSize * count, '\0');
    writeInt32(bytes, 0, total);
    writeInt32(bytes, 4, count);
    for (int32_t i = 0; i < count; ++i) {
        const size_t base = kRankingHeaderSize + kRankingRecordSize * i;
        const Quote &q = sorted[first + i].quote;
        writeInt32(bytes, base, sorted[first + i].number);
        // Figures from offset 7 on, every four bytes, in the real-time quote's order.
        const int32_t fields[]
            = {q.previousClose, q.open,       q.high,       q.low,        q.last,
               q.bid1Price,     q.bid1Volume, q.bid2Price,  q.bid2Volume, q.bid3Price,
               q.bid3Volume,    q.ask1Price,  q.ask1Volume, q.ask2Price,  q.ask2Volume,
               q.ask3Price,     q.ask3Volume, q.volume,     q.amount};
        size_t offset = base + 7;
        for (int32_t value : fields) {
            writeInt32(bytes, offset, value);
            offset += 4;
        }
    }
    return bytes;
}

} // namespace lark::sim
