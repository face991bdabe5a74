#pragma once

#include "quoteserver/live/market_symbol.h"
#include "quoteserver/market_source.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lark::quoteserver {

// More stocks than any board of the exchanges lists; a list beyond it is not believed.
inline constexpr size_t kMostBoardStocks = 10000;

struct BoardEntry
{
    std::string code; // six digits
    std::string nameGbk; // in the protocol's 8-byte field
};

// Every stock of the four boards, as the stock messages serve them and as ranking pages
// number them: Shanghai A then B from 0, Shenzhen A then B after the whole Shanghai list.
class BoardLists
{
public:
    BoardLists(std::array<std::vector<BoardEntry>, 4> boards, int32_t date);

    int32_t date() const { return m_date; } // YYYYMMDD of the day they were fetched
    std::vector<ListedStock> stockList(bool shanghai) const;
    std::optional<int32_t> numberOf(const Instrument &symbol) const;

    // The lists kept on disk: one "board<TAB>code<TAB>name" row a stock, names in UTF-8.
    bool save(const std::filesystem::path &file) const;
    // nullopt for a missing or damaged file.
    static std::optional<BoardLists> load(const std::filesystem::path &file);

private:
    std::array<std::vector<BoardEntry>, 4> m_boards;
    int32_t m_date;
    std::map<Instrument, int32_t> m_numbers;
};

} // namespace lark::quoteserver
