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

// Columns of a list row per interface size: large 8, medium 5, small 3.
int columnCount(int interfaceSize);

} // namespace lark
