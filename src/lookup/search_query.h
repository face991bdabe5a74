#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lark {

// What was typed, folded as names are, with the set of letters and digits in it.
struct SearchQuery
{
    std::string text;
    uint64_t letters = 0;

    static SearchQuery of(std::string_view typed);
};

// The bit of a letter or digit in a set of them; 0 for any other byte.
uint64_t letterBit(char c);

} // namespace lark
