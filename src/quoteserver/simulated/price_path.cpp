#include "quoteserver/simulated/price_path.h"

#include "quoteserver/simulated/rng.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

namespace lark::sim {
namespace {

constexpr int kSegments = kSessionMinutes; // a knot a minute of trading
constexpr double kOpeningShare = 0.02; // of the day's volume, traded at the open

// Salts keep the hash streams of different figures apart.
enum Salt : uint64_t { CloseNoise = 1, OpenGap, DayVolume, Step, Weight, Jitter, Book };

int32_t roundPrice(double thousandths)
{
    return static_cast<int32_t>(std::lround(thousandths / 10.0)) * 10;
}

int32_t limitUpOf(int32_t previousClose)
{
    return static_cast<int32_t>(int64_t(previousClose) * 11 / 100 * 10);
}

int32_t limitDownOf(int32_t previousClose)
{
    return static_cast<int32_t>((int64_t(previousClose) * 9 + 99) / 100 * 10);
}

// Weekdays counted without gaps, so a weekend is one step of the waves like any night.
int64_t tradingIndex(int32_t day)
{
    const int64_t sinceMonday = int64_t(day) - 4; // 1970-01-05 was a Monday
    const int64_t week = sinceMonday >= 0 ? sinceMonday / 7 : (sinceMonday - 6) / 7;
    const int64_t weekday = sinceMonday - week * 7;
    return week * 5 + std::min<int64_t>(weekday, 4);
}

uint64_t dayHash(const StockTraits &stock, int32_t day, Salt salt)
{
    return hashOf({stock.key, static_cast<uint64_t>(day), salt});
}

} // namespace

int32_t closeOf(const StockTraits &stock, int32_t day)
{
    const double i = static_cast<double>(tradingIndex(day));
    const double tau = 2.0 * std::numbers::pi;
    const double factor = 1.0 + 0.10 * std::sin(tau * i / 61.0 + stock.slowPhase)
        + 0.04 * std::sin(tau * i / 13.0 + stock.fastPhase)
        + 0.01 * signedOf(dayHash(stock, day, CloseNoise));
    return roundPrice(stock.basePrice * factor);
}

int32_t previousCloseOf(const StockTraits &stock, int32_t day)
{
    return closeOf(stock, previousWeekday(day));
}

int32_t openOf(const StockTraits &stock, int32_t day)
{
    const int32_t previous = previousCloseOf(stock, day);
    return roundPrice(previous * (1.0 + 0.015 * signedOf(dayHash(stock, day, OpenGap))));
}

int32_t dayVolumeOf(const StockTraits &stock, int32_t day)
{
    const double factor = 0.6 + 0.8 * unitOf(dayHash(stock, day, DayVolume));
    return static_cast<int32_t>(stock.typicalVolume * factor / 100.0) * 100;
}

DayPath::DayPath(const StockTraits &stock, int32_t day, const TradingSession &session)
    : stock_(stock)
    , day_(day)
    , ticksPerDay_(session.ticksPerDay())
    , ticksPerSegment_(ticksPerDay_ / kSegments)
    , previousClose_(previousCloseOf(stock, day))
    , limitDown_(limitDownOf(previousClose_))
    , limitUp_(limitUpOf(previousClose_))
    , dayVolume_(dayVolumeOf(stock, day))
{
    const double pc = previousClose_;
    const double lowest = limitDown_ / pc - 1.0, highest = limitUp_ / pc - 1.0;
    // The walk drifts towards the close the day will have in history.
    const double target = closeOf(stock, day) / pc - 1.0;
    const double sigma = 0.025 * stock.volatility / std::sqrt(double(kSegments)) / 0.408;
    double r = openOf(stock, day) / pc - 1.0;
    knots_.reserve(kSegments + 1);
    weights_.reserve(kSegments);
    knots_.push_back(roundPrice(pc * (1.0 + r)));
    for (int k = 1; k <= kSegments; ++k) {
        const uint64_t h = dayHash(stock, day, Step) ^ mix64(uint64_t(k));
        const double z = (signedOf(mix64(h)) + signedOf(mix64(h + 1))) / 2.0;
        r += 0.6 * (target - r) / (kSegments - k + 1) + sigma * z;
        r = std::clamp(r, lowest, highest);
        // The day ends exactly on the close its history will show.
        const int32_t price = k == kSegments ? closeOf(stock, day) : roundPrice(pc * (1.0 + r));
        knots_.push_back(std::clamp(price, limitDown_, limitUp_));
        weights_.push_back(0.3 + 1.4 * unitOf(mix64(h ^ Weight)));
        totalWeight_ += weights_.back();
    }
}

int32_t DayPath::lastAt(int tick) const
{
    const int k = tick / ticksPerSegment_, offset = tick % ticksPerSegment_;
    if (offset == 0)
        return knots_[k];
    const int32_t from = knots_[k], to = knots_[k + 1];
    const double line = from + double(to - from) * offset / ticksPerSegment_;
    const uint64_t h = hashOf({stock_.key, uint64_t(day_), uint64_t(tick), Jitter});
    const int32_t jittered = roundPrice(line) + 10 * static_cast<int32_t>(h % 3) - 10;
    return std::clamp(jittered, std::min(from, to), std::max(from, to));
}

Quote DayPath::at(int tick) const
{
    tick = std::clamp(tick, 0, ticksPerDay_);
    Quote q;
    q.previousClose = previousClose_;
    q.open = knots_[0];
    q.last = lastAt(tick);
    fillRange(q, tick);
    fillTurnover(q, tick);
    fillBook(q, tick);
    return q;
}

// Knots passed so far, then every tick of the current segment.
void DayPath::fillRange(Quote &q, int tick) const
{
    const int k = tick / ticksPerSegment_, offset = tick % ticksPerSegment_;
    q.high = *std::max_element(knots_.begin(), knots_.begin() + k + 1);
    q.low = *std::min_element(knots_.begin(), knots_.begin() + k + 1);
    for (int t = tick - offset + 1; t <= tick; ++t) {
        q.high = std::max(q.high, lastAt(t));
        q.low = std::min(q.low, lastAt(t));
    }
}

// Volume and turnover accumulate segment by segment, each at its average price.
void DayPath::fillTurnover(Quote &q, int tick) const
{
    const int k = tick / ticksPerSegment_, offset = tick % ticksPerSegment_;
    double weight = 0.0, weightedPrice = 0.0;
    for (int i = 0; i < k; ++i) {
        weight += weights_[i];
        weightedPrice += weights_[i] * (knots_[i] + knots_[i + 1]) / 2.0;
    }
    if (offset > 0) {
        const double part = weights_[k] * offset / ticksPerSegment_;
        const double line
            = knots_[k] + double(knots_[k + 1] - knots_[k]) * offset / ticksPerSegment_;
        weight += part;
        weightedPrice += part * (knots_[k] + line) / 2.0;
    }
    // At the close exactly the day's volume, so history and the last quote agree.
    const double share
        = k == kSegments ? 1.0 : kOpeningShare + (1.0 - kOpeningShare) * weight / totalWeight_;
    q.volume = static_cast<int32_t>(dayVolume_ * share / 100.0) * 100;
    const double yuan = dayVolume_
        * (kOpeningShare * knots_[0] + (1.0 - kOpeningShare) * weightedPrice / totalWeight_)
        / 1000.0;
    q.amount = static_cast<int32_t>(std::min(yuan, double(INT32_MAX)));
}

void DayPath::fillBook(Quote &q, int tick) const
{
    int32_t *prices[]
        = {&q.bid1Price, &q.bid2Price, &q.bid3Price, &q.ask1Price, &q.ask2Price, &q.ask3Price};
    int32_t *volumes[] = {&q.bid1Volume, &q.bid2Volume, &q.bid3Volume,
                          &q.ask1Volume, &q.ask2Volume, &q.ask3Volume};
    const uint64_t h = hashOf({stock_.key, uint64_t(day_), uint64_t(tick), Book});
    for (int i = 0; i < 6; ++i) {
        const int level = i % 3 + 1;
        const int32_t price = i < 3 ? q.last - 10 * level : q.last + 10 * level;
        // No orders beyond the day's limits.
        if (price < limitDown_ || price > limitUp_)
            continue;
        const double lots = stock_.typicalVolume * 0.004 * (0.2 + 1.8 * unitOf(mix64(h + i))) / 100;
        *prices[i] = price;
        *volumes[i] = std::max(1, static_cast<int>(lots)) * 100;
    }
}

DayFigures DayPath::summary() const
{
    DayFigures f;
    f.previousClose = previousClose_;
    f.open = knots_.front();
    f.close = knots_.back();
    // Ticks between knots never leave the range of the two knots around them.
    f.high = *std::max_element(knots_.begin(), knots_.end());
    f.low = *std::min_element(knots_.begin(), knots_.end());
    f.volume = dayVolume_;
    return f;
}

std::vector<PathPoint> DayPath::pathUpTo(int tick) const
{
    tick = std::clamp(tick, 0, ticksPerDay_);
    std::vector<PathPoint> points;
    auto add = [&](int at, int32_t price) {
        Quote q;
        fillTurnover(q, at);
        const double minute = double(at) * kSessionMinutes / ticksPerDay_;
        points.push_back({minute, price, q.volume});
    };
    const int k = tick / ticksPerSegment_;
    for (int knot = 0; knot <= k; ++knot)
        add(knot * ticksPerSegment_, knots_[knot]);
    if (tick % ticksPerSegment_ != 0)
        add(tick, lastAt(tick));
    return points;
}

} // namespace lark::sim
