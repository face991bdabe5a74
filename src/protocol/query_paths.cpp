#include "protocol/query_paths.h"

#include "base/c_format.h"
#include "protocol/stock_code.h"
#include "protocol/url_escape.h"
#include "protocol/wire_format.h"

namespace lark {
namespace {

// kQueryHead, the name, the access code: what every query starts with.
std::string queryHead(std::string_view name)
{
    std::string path(wire::kQueryHead);
    path += name;
    path += '?';
    path += wire::kAccessCode;
    return path;
}

} // namespace

std::string quotePath(std::string_view code)
{
    std::string path
        = queryHead(isShanghaiCode(code) ? wire::kQuoteQueryShanghai : wire::kQuoteQueryShenzhen);
    path += '&';
    path += urlEscaped(code);
    return path;
}

std::string dayHistoryPath(std::string_view code, std::string_view start, std::string_view end)
{
    std::string path = queryHead(isShanghaiCode(code) ? wire::kHistoryQueryShanghai
                                                      : wire::kHistoryQueryShenzhen);
    path += '&';
    path += urlEscaped(code);
    path += '&';
    path += wire::kHistoryFixedArguments;
    path += '&';
    path += start;
    path += '&';
    path += end;
    path += '&';
    path += std::to_string(wire::kHistoryRecordLimit);
    return path;
}

std::string rankingPath(int market, int sortKey, int first, int rows)
{
    const bool known = market >= 0 && market < int(wire::kRankingBoards.size());
    const std::string_view board
        = wire::kRankingBoards[known ? market : wire::kRankingDefaultBoard];
    return queryHead(wire::kRankingQuery)
        + cformat("&%.*s&%d&%d&%d", int(board.size()), board.data(), sortKey, first, rows);
}

std::string stockMessagesPath(bool shanghai)
{
    return queryHead(shanghai ? wire::kStockListQueryShanghai : wire::kStockListQueryShenzhen);
}

std::string chartPagePath(std::string_view code)
{
    std::string path(wire::kChartPagePath);
    path += "?ZXYHID=&ZXSXID=&STYLE=SSQX&";
    path += wire::kChartCodeArgument;
    path += '=';
    path += urlEscaped(code);
    path += "&MT=GET";
    return path;
}

} // namespace lark
