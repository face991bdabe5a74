#include "quoteserver/simulated/market_view.h"

namespace lark::sim {

MarketView::MarketView(const MarketModel &model, std::time_t time,
                       std::shared_ptr<const PinTable> pins)
    : model_(model)
    , time_(time)
    , pins_(std::move(pins))
{ }

const Pin *MarketView::pinFor(const Stock &stock) const
{
    if (!pins_)
        return nullptr;
    auto it = pins_->find(stock.code);
    return it == pins_->end() ? nullptr : &it->second;
}

Quote MarketView::quote(const Stock &stock) const
{
    Quote q = model_.quote(stock, time_);
    if (const Pin *pin = pinFor(stock))
        applyPin(q, *pin);
    return q;
}

std::string_view MarketView::nameOf(const Stock &stock) const
{
    const Pin *pin = pinFor(stock);
    return pin && pin->figures.name ? std::string_view(pin->nameGbk)
                                    : std::string_view(stock.nameGbk);
}

} // namespace lark::sim
