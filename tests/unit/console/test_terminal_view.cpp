#include "console/console_list.h"
#include "console/terminal/notice_board.h"
#include "console/terminal/terminal_view.h"
#include "engine/row_texts.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace lark;

namespace {

void writeRow(ConsoleList &list, int row, std::optional<Rgb> colour, const std::string &code)
{
    if (colour)
        list.setTextColour(*colour);
    list.insertRow(row, code);
    for (int column = 1; column < 8; ++column)
        list.setText(row, column, column == 1 ? "名称" : "  1.23");
}

// The frame last drawn, split at its line breaks, without the screen's own control sequences.
std::vector<std::string> frameLines(const std::string &output)
{
    const std::string frame = output.substr(output.rfind("\x1b[H") + 3);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = frame.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(frame.substr(start, end - start));
    lines.push_back(frame.substr(start));
    return lines;
}

// Terminal columns a drawn line takes: control sequences none, CJK characters two.
size_t columnsTaken(const std::string &line)
{
    size_t columns = 0;
    for (size_t i = 0; i < line.size();) {
        const auto byte = static_cast<unsigned char>(line[i]);
        if (byte == 0x1b) {
            i = line.find_first_of("mKJ", i) + 1;
        } else if (byte < 0x80) {
            ++columns;
            ++i;
        } else {
            columns += byte >= 0xE0 ? 2 : 1;
            i += byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        }
    }
    return columns;
}

} // namespace

// One screen drawn in place: never more lines than the terminal has, none wider; rows in their
// up and down colours, the ringing stock's row in reverse video; no colour under NO_COLOR.
TEST(TerminalView, DrawsOneScreenInPlaceWithRowColoursAndTheRingingRow)
{
    struct Case
    {
        bool colours;
        std::vector<std::string> rowStarts;
    };
    const Case cases[] = {
        {true, {"\x1b[31m0001 ", "\x1b[32;7m0002 ", "0003 "}},
        {false, {"0001 ", "\x1b[7m0002 ", "0003 "}},
    };
    for (const Case &c : cases) {
        ConsoleList list;
        list.setStatusText("Halvern--Orvale");
        writeRow(list, 0, kUpColour, "0001");
        writeRow(list, 1, kDownColour, "0002");
        writeRow(list, 2, std::nullopt, "0003"); // a rejected reply sets no colour
        NoticeBoard notices;
        notices.add("警报! 0002 — 按回车确认\n");
        notices.add("图表: http://127.0.0.1/chart\n"); // one line more than the terminal has
        notices.add("\a");
        std::ostringstream out;
        {
            TerminalScreen screen(out, [] { return ScreenSize {80, 8}; });
            TerminalView view("Lark", 1, {list, notices, [] { return std::string("0002"); }},
                              screen, c.colours);
            view.listSettled();
            const std::string drawn = out.str();
            EXPECT_EQ(drawn.find('\a'), std::string::npos);
            view.turn();
            EXPECT_EQ(out.str().substr(drawn.size()).find('\a'), 0u) << "the bell rings once";
        }
        const std::string output = out.str();
        EXPECT_TRUE(output.starts_with("\x1b[?1049h"));
        EXPECT_TRUE(output.ends_with("\x1b[?1049l"));
        const auto lines = frameLines(output.substr(0, output.size() - 8));
        ASSERT_EQ(lines.size(), 8u); // title, status, header, 3 rows, a blank, the first notice
        EXPECT_EQ(lines[0], "Lark\x1b[K");
        for (size_t r = 0; r < 3; ++r)
            EXPECT_TRUE(lines[3 + r].starts_with(c.rowStarts[r])) << lines[3 + r];
        EXPECT_EQ(lines[7], "警报! 0002 — 按回车确认\x1b[K\x1b[J");
        EXPECT_EQ(output.find("\x1b[31m") != std::string::npos, c.colours);
        for (const std::string &line : lines)
            EXPECT_LE(columnsTaken(line), 80u) << line;
    }
}

// A terminal too small for the table says so in one line rather than drop columns or rows.
TEST(TerminalView, ATerminalTooSmallForTheTableSaysSo)
{
    ConsoleList list;
    writeRow(list, 0, kUpColour, "0001");
    NoticeBoard notices;
    for (const ScreenSize size : {ScreenSize {40, 24}, ScreenSize {80, 3}}) {
        std::ostringstream out;
        {
            TerminalScreen screen(out, [size] { return size; });
            TerminalView view("Lark", 1, {list, notices, [] { return std::string(); }}, screen,
                              true);
            view.listSettled();
        }
        const std::string output = out.str();
        const auto lines = frameLines(output.substr(0, output.size() - 8));
        ASSERT_EQ(lines.size(), 1u) << output;
        EXPECT_TRUE(lines[0].starts_with("终端太小: 需 ")) << lines[0];
        EXPECT_NE(
            lines[0].find("现 " + std::to_string(size.columns) + "x" + std::to_string(size.rows)),
            std::string::npos)
            << lines[0];
    }
}
