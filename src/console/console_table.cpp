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

std::string padded(const std::string &text, size_t width)
{
    size_t have = displayWidth(text);
    return text + std::string(have < width ? width - have : 0, ' ');
}

} // namespace

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
    using D = DetailControl;
    static const std::map<D, const char *> captions {
        {D::Code, "代码"},          {D::Name, "名称"},         {D::Last, "最新价"},
        {D::High, "最高价"},        {D::Low, "最低价"},        {D::Open, "开盘价"},
        {D::Volume, "成交量"},      {D::Amount, "成交额"},     {D::Ask1Price, "卖一价"},
        {D::Ask2Price, "卖二价"},   {D::Ask3Price, "卖三价"},  {D::Ask1Volume, "卖一量"},
        {D::Ask2Volume, "卖二量"},  {D::Ask3Volume, "卖三量"}, {D::Bid1Price, "买一价"},
        {D::Bid2Price, "买二价"},   {D::Bid3Price, "买三价"},  {D::Bid1Volume, "买一量"},
        {D::Bid2Volume, "买二量"},  {D::Bid3Volume, "买三量"}, {D::Change, "涨跌价"},
        {D::ChangePercent, "涨幅"}, {D::VolumeRatio, "量比"}};
    std::string out;
    for (const auto &[id, text] : texts) {
        auto caption = captions.find(id);
        out += padded(caption != captions.end() ? caption->second : "", 8) + terminalText(text)
            + '\n';
    }
    return out;
}

} // namespace lark
