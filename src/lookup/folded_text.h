#pragma once

#include <string>
#include <string_view>

namespace lark {

// Text as names are compared: full-width forms as their plain letters and digits, lower case,
// no white space ("万  科Ａ" is "万科a"). UTF-8 in and out.
std::string foldedText(std::string_view utf8);

} // namespace lark
