#pragma once

#include "quoteserver/market_source.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace lark::quoteserver {

// One day's bar as the day-bar services send it, each figure a text.
struct DayBarTexts
{
    std::string_view date; // yyyy-mm-dd
    std::string_view open, close, high, low;
    std::string_view volumeLots;
    std::string_view amount; // empty when the service sends none
    int64_t yuanPerAmountUnit = 1; // 10000 where the amount counts 10,000 yuan
};

// nullopt for a malformed date, a price negative or beyond its field, or a negative count.
std::optional<DayRecord> dayBarOf(const DayBarTexts &texts);

} // namespace lark::quoteserver
