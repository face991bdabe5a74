// What the text front end prints of a name, a code or a server text: never terminal control,
// and in --once output never more than one row per row.
#include "console/console_desktop.h"
#include "console/console_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace lark;

namespace {

const char *const kHostile[] = {"A\nB",
                                "A\r\nB",
                                "A\tB",
                                "\x1b[2J",
                                "\x1b]0;owned\x07",
                                "A\x7f",
                                "\xc2\x9b"
                                "2J",
                                "\xff\xfe",
                                "\xe6\xb5",
                                "\xc0\x8a"};

// Only printable UTF-8 and, where given, the separators the output itself puts there.
bool onlyText(const std::string &out, std::string_view separators)
{
    return std::none_of(out.begin(), out.end(),
                        [&](char c) {
                            const auto b = static_cast<unsigned char>(c);
                            return (b < 0x20 || b == 0x7f)
                                && separators.find(c) == std::string_view::npos;
                        })
        && out.find("\xc2\x9b") == std::string::npos && out.find("\xff") == std::string::npos;
}

} // namespace

TEST(TerminalOutput, ServerAndStoredTextsNeverReachTheTerminalAsControl)
{
    for (const char *hostile : kHostile) {
        SCOPED_TRACE(testing::PrintToString(std::string(hostile)));
        const std::vector<std::string> row {"600000", hostile, " 12.34", hostile};
        const std::string line = joinedRow(row);
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 3);
        EXPECT_TRUE(onlyText(line, "\t"));

        const std::string table = quoteTable({row, row}, 1, hostile);
        EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 5);
        EXPECT_TRUE(onlyText(table, "\n"));
        EXPECT_TRUE(onlyText(detailTable({{DetailControl::Name, hostile}}), "\n"));

        std::ostringstream out;
        ConsoleDesktop desktop([&out](const std::string &text) { out << text; },
                               [&] { return std::string(hostile); });
        desktop.openUrl(std::string("http://127.0.0.1/Chart.asp?STKNO=") + hostile);
        desktop.askOkCancel(hostile);
        desktop.setTrayPicture(TrayPicture::Alert);
        EXPECT_TRUE(onlyText(out.str(), "\n"));
    }
    EXPECT_EQ(joinedRow({"600000", "测试股 A", "  2.83"}), "600000\t测试股 A\t  2.83");
}
