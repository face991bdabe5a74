#pragma once

#include "base/gbk.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace lark::test {

// A reply of tests/data/live/ as stored (UTF-8 for text, see SOURCES.md there).
inline std::string recorded(const std::string &name)
{
    std::ifstream in(std::string(LARK_LIVE_DATA) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    EXPECT_FALSE(bytes.str().empty()) << name;
    return bytes.str();
}

// A quote reply as its service sends it: in GBK.
inline std::string recordedGbk(const std::string &name)
{
    return utf8ToGbk(recorded(name));
}

} // namespace lark::test
