#pragma once

#include <cstdint>
#include <initializer_list>

namespace lark::quoteserver {

// Stateless hashing instead of a generator: any figure can be computed for any moment
// without replaying what came before it.
inline uint64_t mix64(uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

inline uint64_t hashOf(std::initializer_list<uint64_t> parts)
{
    uint64_t h = 0x6C61726B51534D31ull;
    for (uint64_t part : parts)
        h = mix64(h ^ part);
    return h;
}

// Uniform in [0, 1).
inline double unitOf(uint64_t h)
{
    return static_cast<double>(h >> 11) * 0x1.0p-53;
}

// Uniform in [-1, 1).
inline double signedOf(uint64_t h)
{
    return 2.0 * unitOf(h) - 1.0;
}

} // namespace lark::quoteserver
