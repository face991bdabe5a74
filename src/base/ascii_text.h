#pragma once

#include <algorithm>
#include <string_view>

namespace lark {

// Comparisons and trimming of protocol text (header names, schemes, host names): ASCII letters
// only, whatever the locale. No std::ranges here: clang 14, which builds the fuzzers, cannot
// compile libstdc++ 12's.

inline bool asciiEqualIgnoringCase(char a, char b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return lower(a) == lower(b);
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), asciiEqualIgnoringCase);
}

inline bool startsWithIgnoringCase(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() && equalsIgnoringCase(text.substr(0, start.size()), start);
}

inline bool containsIgnoringCase(std::string_view text, std::string_view word)
{
    return std::search(text.begin(), text.end(), word.begin(), word.end(), asciiEqualIgnoringCase)
        != text.end();
}

// Without the spaces and tabs at either end.
inline std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace lark
