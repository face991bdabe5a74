#pragma once

#include "protocol/quote_figures.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>

namespace lark::quoteserver {

// One stock's real-time figures as served, its name in GBK.
struct Quote : QuoteFigures
{
    std::string nameGbk;

    friend bool operator==(const Quote &, const Quote &) = default;
};

// Every field optional; unset ones keep the model's value. Each member has an
// initializer so designated initializers may leave any of them out.
struct PinnedQuote
{
    std::optional<std::string> name {}; // UTF-8, sent as GBK (at most 8 bytes)
    std::optional<int32_t> previousClose {}, open {}, high {}, low {}, last {}, volume {},
        amount {};
    std::optional<int32_t> bid1Price {}, bid1Volume {}, bid2Price {}, bid2Volume {}, bid3Price {},
        bid3Volume {};
    std::optional<int32_t> ask1Price {}, ask1Volume {}, ask2Price {}, ask2Volume {}, ask3Price {},
        ask3Volume {};
};

// The numeric fields by the names the control interface uses for them.
struct PinField
{
    const char *key;
    std::optional<int32_t> PinnedQuote::*pinned;
    int32_t Quote::*quote;
};
std::span<const PinField> pinFields();

// A pin as held by the server: the name already converted and checked.
struct Pin
{
    PinnedQuote figures;
    std::string nameGbk;
};
using PinTable = std::map<std::string, Pin, std::less<>>;

void applyPin(Quote &quote, const Pin &pin);

} // namespace lark::quoteserver
