#include "quoteserver/live/board_lists.h"

#include "base/file_writer.h"
#include "base/gbk.h"
#include "quoteserver/live/decimal_text.h"

#include <fstream>
#include <sstream>

namespace lark::quoteserver {
namespace {

constexpr const char *kHeader = "lark-boards\t1\t";

const Board kShanghaiBoards[] = {Board::ShanghaiA, Board::ShanghaiB};
const Board kShenzhenBoards[] = {Board::ShenzhenA, Board::ShenzhenB};

} // namespace

BoardLists::BoardLists(std::array<std::vector<BoardEntry>, 4> boards, int32_t date)
    : m_boards(std::move(boards))
    , m_date(date)
{
    // Numbered in board order, Shanghai's boards first: the order the stock lists are served.
    int32_t number = 0;
    for (int board = 0; board < 4; ++board) {
        for (const BoardEntry &e : m_boards[board]) {
            if (const auto instrument = instrumentOf(e.code))
                m_numbers.emplace(*instrument, number);
            ++number;
        }
    }
}

std::vector<ListedStock> BoardLists::stockList(bool shanghai) const
{
    std::vector<ListedStock> list;
    for (Board board : shanghai ? kShanghaiBoards : kShenzhenBoards) {
        for (const BoardEntry &e : m_boards[static_cast<int>(board)])
            list.push_back({0, e.code, e.nameGbk});
    }
    return list;
}

std::optional<int32_t> BoardLists::numberOf(const Instrument &symbol) const
{
    const auto it = m_numbers.find(symbol);
    return it == m_numbers.end() ? std::nullopt : std::optional(it->second);
}

bool BoardLists::save(const std::filesystem::path &file) const
{
    std::ostringstream out;
    out << kHeader << m_date << '\n';
    for (int board = 0; board < 4; ++board) {
        for (const BoardEntry &e : m_boards[board])
            out << board << '\t' << e.code << '\t' << gbkToUtf8(e.nameGbk) << '\n';
    }
    return replaceFile(file, out.str(), FileWriter::Folder::OwnNoLink).ok();
}

std::optional<BoardLists> BoardLists::load(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || !line.starts_with(kHeader))
        return std::nullopt;
    const auto date
        = scaledDecimal(std::string_view(line).substr(std::string_view(kHeader).size()), 0);
    if (!date)
        return std::nullopt;
    std::array<std::vector<BoardEntry>, 4> boards;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string board, code, name;
        if (!std::getline(fields, board, '\t') || !std::getline(fields, code, '\t')
            || !std::getline(fields, name) || board.size() != 1 || board[0] < '0' || board[0] > '3'
            || !instrumentOf(code) || code.size() != 6)
            return std::nullopt;
        boards[board[0] - '0'].push_back({code, protocolNameFromUtf8(name)});
    }
    return BoardLists(std::move(boards), static_cast<int32_t>(*date));
}

} // namespace lark::quoteserver
