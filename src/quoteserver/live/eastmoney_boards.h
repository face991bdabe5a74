#pragma once

#include "quoteserver/live/market_symbol.h"
#include "quoteserver/market_source.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lark::quoteserver {

// Rows of one page of the list service; it serves no more since 2025.
inline constexpr int kBoardPageRows = 100;

// A page of one board's codes and names, in code order; pages count from 1.
std::string boardListTarget(Board board, int page);
// A page of one board's figures in the key's order.
std::string boardRankingTarget(Board board, SortKey key, int page);

struct BoardRow
{
    Instrument instrument;
    std::string nameGbk; // in the protocol's 8-byte field
    Quote quote; // what a ranking page carries; zeros where the service had none
};

struct BoardPage
{
    int32_t total = 0; // rows of the whole board
    std::vector<BoardRow> rows;
};

// nullopt when the text is not a reply of the list service, or holds more rows than a page.
// "data":null (a page past the end) is an empty page. A suspended stock's "-" figures stay 0,
// its price the previous close; a row with a figure out of range is left out.
std::optional<BoardPage> parseBoardPage(std::string_view json);

} // namespace lark::quoteserver
