#pragma once

#include <cstddef>
#include <string_view>

namespace lark::quoteserver {

// A request longer than this (head and body) is never served.
inline constexpr size_t kMaxRequestBytes = 64 * 1024;
inline constexpr size_t kNeverWhole = static_cast<size_t>(-1);

// Length of the first request in the bytes when it has arrived whole: its head up to the empty
// line and a body of its Content-Length. 0 while more must come; kNeverWhole for a request
// that is too long or whose length cannot be told.
size_t wholeRequestLength(std::string_view bytes);

} // namespace lark::quoteserver
