#include "quoteserver/simulated/price_path.h"

#include "quoteserver/simulated/rng.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

namespace lark::quoteserver {
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
    : m_stock(stock)
    , m_day(day)
    , m_ticksPerDay(session.ticksPerDay())
    , m_ticksPerSegment(m_ticksPerDay / kSegments)
    , m_previousClose(previousCloseOf(stock, day))
    , m_limitDown(limitDownOf(m_previousClose))
    , m_limitUp(limitUpOf(m_previousClose))
    , m_dayVolume(dayVolumeOf(stock, day))
{
    const double pc = m_previousClose;
    const double lowest = m_limitDown / pc - 1.0, highest = m_limitUp / pc - 1.0;
    // The walk drifts towards the close the day will have in history.
    const double target = closeOf(stock, day) / pc - 1.0;
    const double sigma = 0.025 * stock.volatility / std::sqrt(double(kSegments)) / 0.408;
    double r = openOf(stock, day) / pc - 1.0;
    m_knots.reserve(kSegments + 1);
    m_weights.reserve(kSegments);
    m_knots.push_back(roundPrice(pc * (1.0 + r)));
    for (int k = 1; k <= kSegments; ++k) {
        const uint64_t h = dayHash(stock, day, Step) ^ mix64(uint64_t(k));
        const double z = (signedOf(mix64(h)) + signedOf(mix64(h + 1))) / 2.0;
        r += 0.6 * (target - r) / (kSegments - k + 1) + sigma * z;
        r = std::clamp(r, lowest, highest);
        // The day ends exactly on the close its history will show.
        const int32_t price = k == kSegments ? closeOf(stock, day) : roundPrice(pc * (1.0 + r));
        m_knots.push_back(std::clamp(price, m_limitDown, m_limitUp));
        m_weights.push_back(0.3 + 1.4 * unitOf(mix64(h ^ Weight)));
        m_totalWeight += m_weights.back();
    }
}

int32_t DayPath::lastAt(int tick) const
{
    const int k = tick / m_ticksPerSegment, offset = tick % m_ticksPerSegment;
    if (offset == 0)
        return m_knots[k];
    const int32_t from = m_knots[k], to = m_knots[k + 1];
    const double line = from + double(to - from) * offset / m_ticksPerSegment;
    const uint64_t h = hashOf({m_stock.key, uint64_t(m_day), uint64_t(tick), Jitter});
    const int32_t jittered = roundPrice(line) + 10 * static_cast<int32_t>(h % 3) - 10;
    return std::clamp(jittered, std::min(from, to), std::max(from, to));
}

Quote DayPath::at(int tick) const
{
    tick = std::clamp(tick, 0, m_ticksPerDay);
    Quote q;
    q.previousClose = m_previousClose;
    q.open = m_knots[0];
    q.last = lastAt(tick);
    fillRange(q, tick);
    fillTurnover(q, tick);
    fillBook(q, tick);
    return q;
}

// Knots passed so far, then every tick of the current segment.
void DayPath::fillRange(Quote &q, int tick) const
{
    const int k = tick / m_ticksPerSegment, offset = tick % m_ticksPerSegment;
    q.high = *std::max_element(m_knots.begin(), m_knots.begin() + k + 1);
    q.low = *std::min_element(m_knots.begin(), m_knots.begin() + k + 1);
    for (int t = tick - offset + 1; t <= tick; ++t) {
        q.high = std::max(q.high, lastAt(t));
        q.low = std::min(q.low, lastAt(t));
    }
}

// Volume and turnover accumulate segment by segment, each at its average price.
void DayPath::fillTurnover(Quote &q, int tick) const
{
    const int k = tick / m_ticksPerSegment, offset = tick % m_ticksPerSegment;
    double weight = 0.0, weightedPrice = 0.0;
    for (int i = 0; i < k; ++i) {
        weight += m_weights[i];
        weightedPrice += m_weights[i] * (m_knots[i] + m_knots[i + 1]) / 2.0;
    }
    if (offset > 0) {
        const double part = m_weights[k] * offset / m_ticksPerSegment;
        const double line
            = m_knots[k] + double(m_knots[k + 1] - m_knots[k]) * offset / m_ticksPerSegment;
        weight += part;
        weightedPrice += part * (m_knots[k] + line) / 2.0;
    }
    // At the close exactly the day's volume, so history and the last quote agree.
    const double share
        = k == kSegments ? 1.0 : kOpeningShare + (1.0 - kOpeningShare) * weight / m_totalWeight;
    q.volume = static_cast<int32_t>(m_dayVolume * share / 100.0) * 100;
    const double yuan = m_dayVolume
        * (kOpeningShare * m_knots[0] + (1.0 - kOpeningShare) * weightedPrice / m_totalWeight)
        / 1000.0;
    q.amount = static_cast<int32_t>(std::min(yuan, double(INT32_MAX)));
}

void DayPath::fillBook(Quote &q, int tick) const
{
    int32_t *prices[]
        = {&q.bid1Price, &q.bid2Price, &q.bid3Price, &q.ask1Price, &q.ask2Price, &q.ask3Price};
    int32_t *volumes[] = {&q.bid1Volume, &q.bid2Volume, &q.bid3Volume,
                          &q.ask1Volume, &q.ask2Volume, &q.ask3Volume};
    const uint64_t h = hashOf({m_stock.key, uint64_t(m_day), uint64_t(tick), Book});
    for (int i = 0; i < 6; ++i) {
        const int level = i % 3 + 1;
        const int32_t price = i < 3 ? q.last - 10 * level : q.last + 10 * level;
        // No orders beyond the day's limits.
        if (price < m_limitDown || price > m_limitUp)
            continue;
        const double lots
            = m_stock.typicalVolume * 0.004 * (0.2 + 1.8 * unitOf(mix64(h + i))) / 100;
        *prices[i] = price;
        *volumes[i] = std::max(1, static_cast<int>(lots)) * 100;
    }
}

DayFigures DayPath::summary() const
{
    DayFigures f;
    f.previousClose = m_previousClose;
    f.open = m_knots.front();
    f.close = m_knots.back();
    // Ticks between knots never leave the range of the two knots around them.
    f.high = *std::max_element(m_knots.begin(), m_knots.end());
    f.low = *std::min_element(m_knots.begin(), m_knots.end());
    f.volume = m_dayVolume;
    return f;
}

std::vector<PathPoint> DayPath::pathUpTo(int tick) const
{
    tick = std::clamp(tick, 0, m_ticksPerDay);
    std::vector<PathPoint> points;
    auto add = [&](int at, int32_t price) {
        Quote q;
        fillTurnover(q, at);
        const double minute = double(at) * kSessionMinutes / m_ticksPerDay;
        points.push_back({minute, price, q.volume});
    };
    const int k = tick / m_ticksPerSegment;
    for (int knot = 0; knot <= k; ++knot)
        add(knot * m_ticksPerSegment, m_knots[knot]);
    if (tick % m_ticksPerSegment != 0)
        add(tick, lastAt(tick));
    return points;
}

} // namespace lark::quoteserver
