#pragma once

#include <cstdint>
#include <string>

namespace lark::quoteserver {

// A short Chinese company name of the given number of characters (2 to 4), UTF-8,
// picked from syllable tables by the hash.
std::string makeStockName(uint64_t hash, int characters);

} // namespace lark::quoteserver
