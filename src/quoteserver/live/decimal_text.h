#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace lark::quoteserver {

// "12.345" with the given number of decimals kept as an integer (12345 for 3), rounded half
// up beyond them; nullopt for anything but an optional '-' and digits with one optional
// point, such as the "-" the services send for a figure they do not have.
std::optional<int64_t> scaledDecimal(std::string_view text, int decimals);

// The protocol's fields are 32 bits wide; larger figures (a big stock's turnover in yuan)
// stay at the largest value they can hold.
int32_t saturated(int64_t value);

// A price in yuan as thousandths, for a number the JSON services send.
int32_t thousandths(double yuan);

// The fields between separators, empty ones kept: their positions count.
std::vector<std::string_view> splitKeepingEmpty(std::string_view text, char separator);

} // namespace lark::quoteserver
