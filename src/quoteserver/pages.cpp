#include "quoteserver/pages.h"

#include "base/c_format.h"
#include "base/gbk.h"
#include "protocol/wire_format.h"

#include <algorithm>

namespace lark::quoteserver {
namespace {

std::string htmlDocument(std::string_view title, std::string_view body)
{
    return cformat("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%s</title></head>\n"
                   "<body>\n%s</body></html>\n",
                   escapeHtml(title).c_str(), std::string(body).c_str());
}

} // namespace

std::string escapeHtml(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

Reply errorPage(int status, std::string_view message)
{
    std::string html
        = htmlDocument(cformat("%d", status),
                       cformat("<h1>%d</h1>\n<p>%s</p>\n", status, escapeHtml(message).c_str()));
    if (html.size() == wire::kQuoteSize)
        html += '\n';
    return htmlReply(std::move(html), status);
}

Reply siteHomePage(bool live)
{
    const std::string links = cformat(
        "<ul>\n<li><a href=\"%s\">今日提示</a></li>\n<li><a href=\"%s\">一周备忘</a></li>\n</ul>\n",
        std::string(wire::kTodayTipPath).c_str(), std::string(wire::kWeeklyMemoPath).c_str());
    return htmlReply(htmlDocument(
        "Orvale",
        "<h1>Orvale</h1>\n<p>Lark 的行情服务器: "
            + std::string(live ? "实时行情，取自公开行情服务。" : "模拟行情，仅供测试。") + "</p>\n"
            + links));
}

Reply dailyTipPage(bool live)
{
    const char *body = live
        ? "<h1>今日提示</h1>\n<p>行情取自公开的网络行情服务，仅供个人参考，不作商业用途。</p>\n"
          "<p>交易时间（北京时间）：周一至周五 "
          "09:15–11:30、13:00–15:05；休市时行情每分钟最多取一次，"
          "列表保留当天最后的数字。</p>\n"
        : "<h1>今日提示</h1>\n<p>这是模拟服务器提供的今日提示。</p>\n"
          "<p>行情数据均为模拟生成，不代表任何真实股票。</p>\n";
    return htmlReply(htmlDocument("今日提示", body));
}

Reply weeklyMemoPage(bool live)
{
    const char *body = live
        ? "<h1>一周备忘</h1>\n<p>本周周一至周五为交易日；节假日休市，以交易所公告为准。</p>\n"
          "<p>行情服务不答时，列表保留最后的数字，服务恢复后自动更新。</p>\n"
        : "<h1>一周备忘</h1>\n<p>本周无重要事项（模拟）。</p>\n"
          "<p>本页内容由模拟服务器生成。</p>\n";
    return htmlReply(htmlDocument("一周备忘", body));
}

Reply downloadArchive()
{
    // An empty zip archive: just the end-of-central-directory record.
    std::string zip("PK\x05\x06", 4);
    zip.append(18, '\0');
    return Reply {200, "application/zip", std::move(zip), false};
}

} // namespace lark::quoteserver
