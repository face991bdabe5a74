#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace lark::quoteserver {

// "12.345" with the given number of decimals kept as an integer (12345 for 3), rounded half
// up beyond them; nullopt for anything but an optional '-' and digits with one optional
// point (such as the "-" the services send for a figure they do not have), or for a value
// beyond 64 bits.
std::optional<int64_t> scaledDecimal(std::string_view text, int decimals);

// A number a JSON service sends, scaled the same way; nullopt when not finite or beyond 64 bits.
std::optional<int64_t> scaledNumber(double value, int decimals);

// A price in thousandths for the protocol's 32-bit field: nothing for a negative price or one
// the field cannot hold, since any stand-in would be shown as a real price.
std::optional<int32_t> priceField(int64_t thousandths);

// A volume or amount for its 32-bit field: nothing when negative, wire::kNotCarried when the
// field cannot hold it (an index's day in shares or yuan).
std::optional<int32_t> countField(int64_t value);

// A price text in yuan ("12.34") for its field; nothing for another text or a price refused.
std::optional<int32_t> priceFieldOf(std::string_view yuan);
// A count text in units of factor shares or yuan (100 for lots) for its field, as countField.
std::optional<int32_t> countFieldOf(std::string_view text, int64_t factor);

// value * factor for a count in larger units (lots of 100 shares); nullopt beyond 64 bits.
std::optional<int64_t> scaledCount(int64_t value, int64_t factor);

// The fields between separators, empty ones kept: their positions count.
std::vector<std::string_view> splitKeepingEmpty(std::string_view text, char separator);

} // namespace lark::quoteserver
