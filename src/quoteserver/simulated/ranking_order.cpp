#include "quoteserver/simulated/ranking_order.h"

#include <algorithm>

namespace lark::quoteserver {
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

} // namespace lark::quoteserver
