#include "base/c_format.h"

#include <cstdarg>
#include <cstdio>

namespace lark {

std::string cformat(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    char small[64];
    int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    std::string out;
    if (n < 0) {
        va_end(copy);
        return out;
    }
    if (static_cast<size_t>(n) < sizeof small) {
        out.assign(small, n);
    } else {
        out.resize(n);
        std::vsnprintf(out.data(), n + 1, format, copy);
    }
    va_end(copy);
    return out;
}

} // namespace lark
