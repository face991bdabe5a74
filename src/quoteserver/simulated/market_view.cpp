#include "quoteserver/simulated/market_view.h"

namespace lark::quoteserver {

MarketView::MarketView(const MarketModel &model, std::time_t time,
                       std::shared_ptr<const PinTable> pins)
    : m_model(model)
    , m_time(time)
    , m_pins(std::move(pins))
{ }

const Pin *MarketView::pinFor(const Stock &stock) const
{
    if (!m_pins)
        return nullptr;
    auto it = m_pins->find(stock.code);
    return it == m_pins->end() ? nullptr : &it->second;
}

Quote MarketView::quote(const Stock &stock) const
{
    Quote q = m_model.quote(stock, m_time);
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

} // namespace lark::quoteserver
