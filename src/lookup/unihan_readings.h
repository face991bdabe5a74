#pragma once

#include <span>

namespace lark {

// A Han character that modern dictionaries read in several ways: its readings in pinyin with
// tone marks, separated by spaces ("háng héng xíng hàng xìng" for 行). Taken at build time from
// Unicode's Unihan database (the dictionary fields kTGHZ2013 and kXHC1983).
struct UnihanReadings
{
    char32_t codePoint;
    const char *readings;
};

// In code point order.
std::span<const UnihanReadings> unihanReadings();

} // namespace lark
