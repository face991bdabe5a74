#pragma once

#include "quoteserver/quote_types.h"
#include "quoteserver/simulated/market_model.h"

#include <ctime>
#include <memory>
#include <string_view>

namespace lark::sim {

// The market as one request sees it: the model at one moment with the pins of
// that moment, so every figure in a reply comes from the same state.
class MarketView
{
public:
    MarketView(const MarketModel &model, std::time_t time, std::shared_ptr<const PinTable> pins);

    const MarketModel &model() const { return model_; }
    std::time_t time() const { return time_; }

    Quote quote(const Stock &stock) const;
    std::string_view nameOf(const Stock &stock) const;

private:
    const Pin *pinFor(const Stock &stock) const;

    const MarketModel &model_;
    std::time_t time_;
    std::shared_ptr<const PinTable> pins_;
};

} // namespace lark::sim
