#include "quoteserver/quote_types.h"

namespace lark::quoteserver {

std::span<const PinField> pinFields()
{
    using P = PinnedQuote;
    using Q = Quote;
    static const PinField fields[] = {
        {"previousClose", &P::previousClose, &Q::previousClose},
        {"open", &P::open, &Q::open},
        {"high", &P::high, &Q::high},
        {"low", &P::low, &Q::low},
        {"last", &P::last, &Q::last},
        {"volume", &P::volume, &Q::volume},
        {"amount", &P::amount, &Q::amount},
        {"bid1Price", &P::bid1Price, &Q::bid1Price},
        {"bid1Volume", &P::bid1Volume, &Q::bid1Volume},
        {"bid2Price", &P::bid2Price, &Q::bid2Price},
        {"bid2Volume", &P::bid2Volume, &Q::bid2Volume},
        {"bid3Price", &P::bid3Price, &Q::bid3Price},
        {"bid3Volume", &P::bid3Volume, &Q::bid3Volume},
        {"ask1Price", &P::ask1Price, &Q::ask1Price},
        {"ask1Volume", &P::ask1Volume, &Q::ask1Volume},
        {"ask2Price", &P::ask2Price, &Q::ask2Price},
        {"ask2Volume", &P::ask2Volume, &Q::ask2Volume},
        {"ask3Price", &P::ask3Price, &Q::ask3Price},
        {"ask3Volume", &P::ask3Volume, &Q::ask3Volume},
    };
    return fields;
}

void applyPin(Quote &quote, const Pin &pin)
{
    if (pin.figures.name)
        quote.nameGbk = pin.nameGbk;
    for (const PinField &field : pinFields()) {
        if (const auto &value = pin.figures.*field.pinned)
            quote.*field.quote = *value;
    }
}

} // namespace lark::quoteserver
