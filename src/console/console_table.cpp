#include "console/console_table.h"

#include "base/terminal_text.h"
#include "engine/row_texts.h"

#include <map>

namespace lark {
namespace {

const char *const kHeaders[]
    = {"代码", "名称", "最新价", "成交量", "涨跌", "买入", "卖出", "涨跌幅"};

// Bytes of the UTF-8 character that starts with this byte.
size_t characterLength(unsigned char lead)
{
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Cells a character of this many bytes takes on a terminal: CJK characters take two.
size_t cellsOf(size_t length)
{
    return length >= 3 ? 2 : 1;
}

size_t displayWidth(const std::string &text)
{
    size_t width = 0;
    for (size_t i = 0; i < text.size();) {
        size_t length = characterLength(static_cast<unsigned char>(text[i]));
        width += cellsOf(length);
        i += length;
    }
    return width;
}

std::string padded(const std::string &text, size_t width)
{
    size_t have = displayWidth(text);
    return text + std::string(have < width ? width - have : 0, ' ');
}

} // namespace

std::string joinedRow(const std::vector<std::string> &row)
{
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) {
        if (i)
            line += '\t';
        line += terminalText(row[i]);
    }
    return line;
}

std::vector<std::string> tableLines(std::vector<std::vector<std::string>> rows, int interfaceSize)
{
    for (auto &row : rows)
        for (auto &cell : row)
            cell = terminalText(cell);
    const int columns = columnCount(interfaceSize);
    std::vector<size_t> widths(columns);
    for (int c = 0; c < columns; ++c) {
        widths[c] = displayWidth(kHeaders[c]);
        for (const auto &row : rows)
            if (c < static_cast<int>(row.size()))
                widths[c] = std::max(widths[c], displayWidth(row[c]));
    }
    std::vector<std::string> lines(1);
    for (int c = 0; c < columns; ++c)
        lines[0] += padded(kHeaders[c], widths[c] + 2);
    for (const auto &row : rows) {
        std::string &line = lines.emplace_back();
        for (int c = 0; c < columns; ++c)
            line += padded(c < static_cast<int>(row.size()) ? row[c] : "", widths[c] + 2);
    }
    return lines;
}

std::string quoteTable(const std::vector<std::vector<std::string>> &rows, int interfaceSize,
                       const std::string &status)
{
    std::string out = "\n" + terminalText(status) + "\n";
    for (const std::string &line : tableLines(rows, interfaceSize))
        out += line + '\n';
    return out;
}

std::string clippedToWidth(const std::string &text, size_t columns)
{
    size_t width = 0;
    size_t end = 0;
    while (end < text.size()) {
        const size_t length = characterLength(static_cast<unsigned char>(text[end]));
        const size_t cells = cellsOf(length);
        if (width + cells > columns)
            break;
        width += cells;
        end += length;
    }
    return text.substr(0, std::min(end, text.size()));
}

std::string detailTable(const DetailTexts &texts)
{
    static const std::map<int, const char *> captions {
        {1024, "代码"},   {1023, "名称"},   {1040, "最新价"}, {1025, "最高价"}, {1044, "最低价"},
        {1041, "开盘价"}, {1042, "成交量"}, {1043, "成交额"}, {1028, "卖一价"}, {1029, "卖二价"},
        {1030, "卖三价"}, {1031, "卖一量"}, {1032, "卖二量"}, {1033, "卖三量"}, {1037, "买一价"},
        {1038, "买二价"}, {1039, "买三价"}, {1034, "买一量"}, {1035, "买二量"}, {1036, "买三量"},
        {1046, "涨跌价"}, {1048, "涨幅"},   {1090, "量比"}};
    std::string out;
    for (const auto &[id, text] : texts) {
        auto caption = captions.find(id);
        out += padded(caption != captions.end() ? caption->second : "", 8) + terminalText(text)
            + '\n';
    }
    return out;
}

} // namespace lark
