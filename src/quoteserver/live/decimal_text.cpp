#include "quoteserver/live/decimal_text.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace lark::quoteserver {

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
        if (value > INT64_MAX / 100)
            return std::nullopt;
        value = value * 10 + (c - '0');
        fraction += fraction >= 0;
    }
    if (!digits)
        return std::nullopt;
    for (int kept = std::max(fraction, 0); kept < decimals; ++kept)
        value *= 10;
    value += roundUp;
    return negative ? -value : value;
}

int32_t saturated(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

int32_t thousandths(double yuan)
{
    if (!std::isfinite(yuan))
        return 0;
    return saturated(std::llround(std::clamp(yuan * 1000.0, double(INT32_MIN), double(INT32_MAX))));
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
