#pragma once

// Helpers shared by the fuzz targets: a broken invariant aborts, which libFuzzer reports as a
// crash and saves the input that caused it.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace lark::fuzz {

[[noreturn]] inline void fail(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

#define LARK_FUZZ_CHECK(condition) \
    do { \
        if (!(condition)) \
            ::lark::fuzz::fail(#condition, __FILE__, __LINE__); \
    } while (false)

inline std::string_view asBytes(const uint8_t *data, size_t size)
{
    return {reinterpret_cast<const char *>(data), size};
}

// The little-endian field of the wire format, read independently of the parsers under test.
inline int32_t wireInt32(std::string_view bytes, size_t offset)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(bytes[offset + i]);
    return static_cast<int32_t>(v);
}

// Strict UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
inline bool isValidUtf8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        auto b = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        uint32_t cp = 0;
        uint32_t min = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, cp = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, cp = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, cp = b & 0x07, min = 0x10000;
        } else {
            return false;
        }
        if (extra > text.size() - i - 1)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            cp = cp << 6 | (c & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

// A number the row shows must never read as NaN or infinity, whatever the figures.
inline bool showsNonNumber(const std::string &text)
{
    for (std::string_view bad : {"nan", "NAN", "inf", "INF"})
        if (text.find(bad) != std::string::npos)
            return true;
    return false;
}

} // namespace lark::fuzz
