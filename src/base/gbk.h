#pragma once

#include <string>
#include <string_view>

namespace lark {

// Code page 936 on the wire and on disk, UTF-8 inside the program.
// Bytes that do not convert are replaced by U+FFFD / '?' rather than dropped silently.
// Any thread.
std::string gbkToUtf8(std::string_view gbk);
std::string utf8ToGbk(std::string_view utf8);
// GBK's superset, as the public quote services send their names.
std::string gb18030ToUtf8(std::string_view gb18030);

// A fixed-size text field: the bytes up to the first NUL, or all of them.
std::string_view untilNul(std::string_view field);

} // namespace lark
