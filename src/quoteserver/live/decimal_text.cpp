#include "quoteserver/live/decimal_text.h"

#include "protocol/wire_format.h"

#include <climits>
#include <cmath>

namespace lark::quoteserver {
namespace {

bool appendDigit(int64_t &value, int digit)
{
    return !__builtin_mul_overflow(value, 10, &value)
        && !__builtin_add_overflow(value, digit, &value);
}

} // namespace

std::optional<int64_t> scaledDecimal(std::string_view text, int decimals)
{
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    int64_t value = 0;
    int fraction = -1; // digits after the point so far; -1 before the point
    bool roundUp = false, digits = false;
    for (char c : text) {
        if (c == '.' && fraction < 0) {
            fraction = 0;
            continue;
        }
        if (c < '0' || c > '9')
            return std::nullopt;
        digits = true;
        if (fraction >= decimals) {
            roundUp |= fraction == decimals && c >= '5';
            ++fraction;
            continue;
        }
        if (!appendDigit(value, c - '0'))
            return std::nullopt;
        fraction += fraction >= 0;
    }
    if (!digits)
        return std::nullopt;
    for (int kept = fraction < 0 ? 0 : fraction; kept < decimals; ++kept) {
        if (!appendDigit(value, 0))
            return std::nullopt;
    }
    if (__builtin_add_overflow(value, int64_t(roundUp), &value))
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<int64_t> scaledNumber(double value, int decimals)
{
    const double scaled = value * std::pow(10.0, decimals);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 9223372036854775808.0)
        return std::nullopt;
    return std::llround(scaled);
}

std::optional<int32_t> priceField(int64_t thousandths)
{
    if (thousandths < 0 || thousandths > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(thousandths);
}

std::optional<int32_t> countField(int64_t value)
{
    if (value < 0)
        return std::nullopt;
    return value > INT32_MAX ? wire::kNotCarried : static_cast<int32_t>(value);
}

std::optional<int64_t> scaledCount(int64_t value, int64_t factor)
{
    int64_t product = 0;
    if (__builtin_mul_overflow(value, factor, &product))
        return std::nullopt;
    return product;
}

std::optional<int32_t> priceFieldOf(std::string_view yuan)
{
    const auto value = scaledDecimal(yuan, 3);
    return value ? priceField(*value) : std::nullopt;
}

std::optional<int32_t> countFieldOf(std::string_view text, int64_t factor)
{
    const auto units = scaledDecimal(text, 0);
    const auto value = units ? scaledCount(*units, factor) : std::nullopt;
    return value ? countField(*value) : std::nullopt;
}

std::vector<std::string_view> splitKeepingEmpty(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

} // namespace lark::quoteserver
