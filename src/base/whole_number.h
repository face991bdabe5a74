#pragma once

#include <charconv>
#include <optional>
#include <string_view>

namespace lark {

// The whole text as a decimal number of type T: nothing for an empty text, a sign T cannot
// take, anything left over or a value beyond T.
template<typename T>
std::optional<T> wholeNumber(std::string_view text)
{
    T value {};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace lark
