#pragma once

#include <string>
#include <string_view>

namespace lark {

// Text from the server or the settings as a terminal may show it: every control character
// (C0 with tab and line breaks, DEL, C1) and every byte that is not UTF-8 becomes '?', so a
// name can neither move the cursor nor split a row.
std::string terminalText(std::string_view text);

} // namespace lark
