#pragma once

#include <string>

namespace lark {

// printf-style formatting; the texts the program shows are fixed printf formats.
std::string cformat(const char *format, ...) __attribute__((format(printf, 1, 2)));

} // namespace lark
