#pragma once

#include "quoteserver/quote_types.h"
#include "quoteserver/simulated/market_model.h"

#include <ctime>
#include <memory>
#include <string_view>

namespace lark::quoteserver {

// The market as one request sees it: the model at one moment with the pins of
// that moment, so every figure in a reply comes from the same state.
class MarketView
{
public:
    MarketView(const MarketModel &model, std::time_t time, std::shared_ptr<const PinTable> pins);

    const MarketModel &model() const { return m_model; }
    std::time_t time() const { return m_time; }

    Quote quote(const Stock &stock) const;
    std::string_view nameOf(const Stock &stock) const;

private:
    const Pin *pinFor(const Stock &stock) const;

    const MarketModel &m_model;
    std::time_t m_time;
    std::shared_ptr<const PinTable> m_pins;
};

} // namespace lark::quoteserver
