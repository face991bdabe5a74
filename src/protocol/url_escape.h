#pragma once

#include <string>
#include <string_view>

namespace lark {

// Percent-encodes every byte but letters, digits and "-._~", so that a stock code of any
// characters (a space, '#', '&', non-ASCII) travels whole in a query; a plain code is unchanged.
std::string urlEscaped(std::string_view text);

} // namespace lark
