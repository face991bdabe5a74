#include "quoteserver/pages.h"

#include "protocol/c_format.h"
#include "protocol/gbk.h"

#include <algorithm>

namespace lark::sim {
namespace {

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

std::string htmlDocument(std::string_view title, std::string_view body)
{
    return cformat("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%s</title></head>\n"
                   "<body>\n%s</body></html>\n",
                   escapeHtml(title).c_str(), std::string(body).c_str());
}

Reply htmlReply(std::string html, int status = 200)
{
    return Reply {status, "text/html; charset=utf-8", std::move(html), false};
}

std::string yuan(int32_t thousandths)
{
    return cformat("%.2f", thousandths / 1000.0);
}

std::string priceLine(const std::vector<int32_t> &prices, int32_t previousClose)
{
    constexpr double width = 480, height = 200, slots = 240;
    const double top = previousClose * 1.1, bottom = previousClose * 0.9;
    std::string points;
    for (size_t i = 0; i < prices.size(); ++i) {
        const double y = height * (top - prices[i]) / std::max(1.0, top - bottom);
        points += cformat("%.1f,%.1f ", width * std::min(double(i), slots) / slots, y);
    }
    const double middle = height * (top - previousClose) / std::max(1.0, top - bottom);
    return cformat("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"480\" height=\"200\">\n"
                   "<rect width=\"480\" height=\"200\" fill=\"black\"/>\n"
                   "<line x1=\"0\" y1=\"%.1f\" x2=\"480\" y2=\"%.1f\" stroke=\"gray\" "
                   "stroke-dasharray=\"4\"/>\n"
                   "<polyline fill=\"none\" stroke=\"yellow\" points=\"%s\"/>\n</svg>\n",
                   middle, middle, points.c_str());
}

} // namespace

Reply errorPage(int status, std::string_view message)
{
    std::string html
        = htmlDocument(cformat("%d", status),
                       cformat("<h1>%d</h1>\n<p>%s</p>\n", status, escapeHtml(message).c_str()));
    if (html.size() == 97)
        html += '\n';
    return htmlReply(std::move(html), status);
}

Reply chartPage(const Stock &stock, const Quote &q, const std::vector<int32_t> &prices)
{
    const std::string name = escapeHtml(gbkToUtf8(untilNul(q.nameGbk)));
    const double change
        = q.previousClose > 0 ? 100.0 * (double(q.last) - q.previousClose) / q.previousClose : 0;
    std::string body = cformat("<h1>%s %s</h1>\n<table>\n"
                               "<tr><td>昨收</td><td>%s</td><td>今开</td><td>%s</td></tr>\n"
                               "<tr><td>最高</td><td>%s</td><td>最低</td><td>%s</td></tr>\n"
                               "<tr><td>现价</td><td>%s</td><td>涨幅</td><td>%.2f%%</td></tr>\n"
                               "<tr><td>成交量</td><td>%d</td><td>成交额</td><td>%d</td></tr>\n"
                               "</table>\n",
                               name.c_str(), stock.code.c_str(), yuan(q.previousClose).c_str(),
                               yuan(q.open).c_str(), yuan(q.high).c_str(), yuan(q.low).c_str(),
                               yuan(q.last).c_str(), change, q.volume, q.amount);
    body += priceLine(prices, q.previousClose);
    body += "<p>模拟行情，仅供测试。</p>\n";
    return htmlReply(htmlDocument(gbkToUtf8(untilNul(q.nameGbk)) + " 实时走势", body));
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

} // namespace lark::sim
