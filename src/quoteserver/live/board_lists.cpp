#include "quoteserver/live/board_lists.h"

#include "base/gbk.h"
#include "quoteserver/live/cache_file.h"

namespace lark::quoteserver {
namespace {

// Four boards of at most kMostBoardStocks stocks, a name of a few dozen bytes each.
constexpr CacheKind kBoardsCache {"boards", 2, 4 * 1024 * 1024};

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
    // The newest lists win; a second Lark's save of the same day holds the same stocks.
    return updateCache(file, kBoardsCache,
                       [this](std::optional<CacheContents>) {
                           CacheContents contents {m_date, {}};
                           for (int board = 0; board < 4; ++board) {
                               for (const BoardEntry &e : m_boards[board])
                                   contents.rows.push_back(
                                       {std::to_string(board), e.code, gbkToUtf8(e.nameGbk)});
                           }
                           return contents;
                       })
        .ok();
}

std::optional<BoardLists> BoardLists::load(const std::filesystem::path &file)
{
    const auto contents = loadCache(file, kBoardsCache);
    if (!contents)
        return std::nullopt;
    std::array<std::vector<BoardEntry>, 4> boards;
    for (const auto &row : contents->rows) {
        if (row.size() != 3 || row[0].size() != 1 || row[0][0] < '0' || row[0][0] > '3'
            || row[1].size() != 6 || !instrumentOf(row[1]))
            return std::nullopt;
        auto &entries = boards[row[0][0] - '0'];
        if (entries.size() == kMostBoardStocks)
            return std::nullopt;
        entries.push_back({row[1], protocolNameFromUtf8(row[2])});
    }
    return BoardLists(std::move(boards), contents->date);
}

} // namespace lark::quoteserver
