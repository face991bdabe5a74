#pragma once

#include "quoteserver/quote_types.h"

#include <string>

namespace lark::test {

inline quoteserver::PinnedQuote pinnedPrices(int32_t previousClose, int32_t last)
{
    quoteserver::PinnedQuote pin;
    pin.previousClose = previousClose;
    pin.last = last;
    return pin;
}

inline quoteserver::PinnedQuote pinnedPrices(int32_t previousClose, int32_t last, std::string name)
{
    quoteserver::PinnedQuote pin = pinnedPrices(previousClose, last);
    pin.name = std::move(name);
    return pin;
}

} // namespace lark::test
