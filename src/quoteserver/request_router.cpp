#include "quoteserver/request_router.h"

#include "protocol/wire_format.h"
#include "quoteserver/chart/chart_page.h"
#include "quoteserver/pages.h"
#include "quoteserver/query_replies.h"

namespace lark::quoteserver {
namespace {

// The value of one key=value argument of a query string, "" when absent.
std::string_view argument(std::string_view query, std::string_view key)
{
    size_t start = 0;
    while (start <= query.size()) {
        const size_t amp = std::min(query.find('&', start), query.size());
        const std::string_view part = query.substr(start, amp - start);
        if (part.size() > key.size() && part.starts_with(key) && part[key.size()] == '=')
            return part.substr(key.size() + 1);
        start = amp + 1;
    }
    return {};
}

// The chart page, or the figures it draws.
Reply chart(std::string_view query, MarketSource &source, bool data)
{
    const Answer<ChartFigures> answer = source.chart(argument(query, wire::kChartCodeArgument));
    if (answer.outcome == Outcome::Unknown)
        return errorPage(404,
                         "没有这只股票：" + std::string(argument(query, wire::kChartCodeArgument)));
    if (answer.outcome == Outcome::Failed)
        return errorPage(503, "行情暂时无法取得，请稍后再试。");
    return data ? chartData(answer.value) : chartPage(answer.value);
}

} // namespace

Reply routeRequest(std::string_view target, MarketSource &source, const std::string &versionText)
{
    const size_t mark = target.find('?');
    const std::string_view path = target.substr(0, mark);
    const std::string_view query
        = mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1);
    using namespace wire;
    if (target.starts_with(kQueryHead))
        return answerQuery(target.substr(kQueryHead.size()), source);
    if (path == kVersionPath)
        return textReply(versionText);
    if (path == kChartPagePath || path == kChartDataPath)
        return chart(query, source, path == kChartDataPath);
    if (path == "/")
        return siteHomePage(source.status().live);
    if (path == kTodayTipPath)
        return dailyTipPage(source.status().live);
    if (path == kWeeklyMemoPath)
        return weeklyMemoPage(source.status().live);
    if (path == kDownloadPath)
        return downloadArchive();
    return errorPage(404, "Not found.");
}

} // namespace lark::quoteserver
