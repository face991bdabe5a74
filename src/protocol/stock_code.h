#pragma once

#include <string_view>

namespace lark {

// A code of fewer than 4 characters stands for an empty slot.
inline bool isEmptyCode(std::string_view code)
{
    return code.size() < 4;
}

// Six characters or more is a Shanghai code; anything shorter asks the Shenzhen form.
inline bool isShanghaiCode(std::string_view code)
{
    return code.size() > 5;
}

} // namespace lark
