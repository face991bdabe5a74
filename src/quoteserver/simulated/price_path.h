#pragma once

#include "quoteserver/market_source.h"
#include "quoteserver/model_time.h"
#include "quoteserver/quote_types.h"

#include <cstdint>
#include <vector>

namespace lark::quoteserver {

// What one stock is like, fixed for the life of a model.
struct StockTraits
{
    uint64_t key = 0; // seed and code mixed
    int32_t basePrice = 0; // thousandths of a yuan, a multiple of 10
    int32_t typicalVolume = 0; // shares traded on an ordinary day
    double volatility = 1.0;
    double slowPhase = 0.0, fastPhase = 0.0;
};

// A whole trading day's figures, as day history reports them.
struct DayFigures
{
    int32_t previousClose = 0, open = 0, high = 0, low = 0, close = 0;
    int32_t volume = 0; // shares, a multiple of 100
};

// Closes follow smooth per-stock waves, so any day is computed on its own and
// consecutive days stay well within the daily limit.
int32_t closeOf(const StockTraits &stock, int32_t day);
int32_t previousCloseOf(const StockTraits &stock, int32_t day);
int32_t openOf(const StockTraits &stock, int32_t day);
int32_t dayVolumeOf(const StockTraits &stock, int32_t day);

// One day's intraday walk: knots joined by straight lines, a cent of jitter on
// the ticks between them. Volume follows per-segment weights.
class DayPath
{
public:
    DayPath(const StockTraits &stock, int32_t day, const TradingSession &session);

    // Figures after the given number of ticks; the name is left empty.
    Quote at(int tick) const;
    // The chart's path: each minute's knot passed so far, then the current tick.
    std::vector<PathPoint> pathUpTo(int tick) const;
    // The finished day; its close and volume are what the last tick shows.
    DayFigures summary() const;

private:
    int32_t lastAt(int tick) const;
    void fillRange(Quote &quote, int tick) const;
    void fillTurnover(Quote &quote, int tick) const;
    void fillBook(Quote &quote, int tick) const;

    StockTraits m_stock;
    int32_t m_day;
    int m_ticksPerDay;
    int m_ticksPerSegment;
    int32_t m_previousClose, m_limitDown, m_limitUp;
    int32_t m_dayVolume;
    std::vector<int32_t> m_knots;
    std::vector<double> m_weights;
    double m_totalWeight = 0.0;
};

} // namespace lark::quoteserver
