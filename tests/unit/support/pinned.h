#pragma once

#include "quoteserver/quote_types.h"

#include <string>

namespace lark::test {

inline sim::PinnedQuote pinnedPrices(int32_t previousClose, int32_t last)
{
    sim::PinnedQuote pin;
    pin.previousClose = previousClose;
    pin.last = last;
    return pin;
}

inline sim::PinnedQuote pinnedPrices(int32_t previousClose, int32_t last, std::string name)
{
    sim::PinnedQuote pin = pinnedPrices(previousClose, last);
    pin.name = std::move(name);
    return pin;
}

} // namespace lark::test
