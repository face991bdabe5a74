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

Reply dailyTipPage()
{
    return htmlReply(htmlDocument("今日提示",
                                  "<h1>今日提示</h1>\n<p>这是模拟服务器提供的今日提示。</p>\n"
                                  "<p>行情数据均为模拟生成，不代表任何真实股票。</p>\n"));
}

Reply weeklyMemoPage()
{
    return htmlReply(htmlDocument("一周备忘",
                                  "<h1>一周备忘</h1>\n<p>本周无重要事项（模拟）。</p>\n"
                                  "<p>本页内容由模拟服务器生成。</p>\n"));
}

Reply downloadArchive()
{
    // An empty zip archive: just the end-of-central-directory record.
    std::string zip("PK\x05\x06", 4);
    zip.append(18, '\0');
    return Reply {200, "application/zip", std::move(zip), false};
}

} // namespace lark::quoteserver
