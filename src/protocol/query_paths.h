#pragma once

#include <string>
#include <string_view>

namespace lark {

// The request paths of every query, as the client sends them. A code of 6 characters asks the
// Shanghai form of a query, any other the Shenzhen form.
std::string quotePath(std::string_view code);
std::string dayHistoryPath(std::string_view code, std::string_view start, std::string_view end);
// Board 0 SH A, 1 SH B, 2 SZ A, 3 SZ B; any other board asks for SZ A.
std::string rankingPath(int market, int sortKey, int first, int rows);
std::string stockMessagesPath(bool shanghai);
// The chart page of a stock, on the chart server.
std::string chartPagePath(std::string_view code);

} // namespace lark
