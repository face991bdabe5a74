#pragma once

#include "engine/rgb.h"
#include "protocol/quote_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace lark {

// Columns of a list row per interface size: large 8, medium 5, small 3.
int columnCount(int interfaceSize);

// The texts of a list row for a quote, a reply that was not one, and an empty slot. Funds and
// bonds show their prices with three decimals.
std::vector<std::string> quoteRowTexts(const QuoteRecord &record, std::string_view code,
                                       int interfaceSize);
std::vector<std::string> invalidRowTexts(std::string_view code, int interfaceSize);
std::vector<std::string> emptyRowTexts(int interfaceSize);

// A volume in lots, or "---" for one its field could not carry.
std::string lotsText(int32_t shares, const char *format = "%d");

// A row's text colour by its change: rising or unchanged, falling.
inline constexpr Rgb kUpColour {252, 20, 79};
inline constexpr Rgb kDownColour {12, 239, 80};
inline Rgb rowColour(float changePct)
{
    return changePct >= 0 ? kUpColour : kDownColour;
}

} // namespace lark
