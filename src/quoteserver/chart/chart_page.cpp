#include "quoteserver/chart/chart_page.h"

#include "base/c_format.h"
#include "base/gbk.h"
#include "protocol/instrument.h"
#include "protocol/wire_format.h"
#include "quoteserver/chart/chart_script.h"
#include "quoteserver/pages.h"

#include <nlohmann/json.hpp>

namespace lark::quoteserver {
namespace {

double yuan(int32_t thousandths)
{
    return thousandths / 1000.0;
}

// A figure the wire could not carry has no number.
nlohmann::json carried(int32_t value)
{
    return value == wire::kNotCarried ? nlohmann::json() : nlohmann::json(value);
}

nlohmann::json figuresJson(const ChartFigures &f)
{
    const Quote &q = f.quote;
    nlohmann::json path = nlohmann::json::array();
    for (const PathPoint &p : f.path)
        path.push_back({p.minute, yuan(p.price), p.volume});
    return {{"code", f.code},
            {"decimals", priceDecimals(f.code)},
            {"name", gbkToUtf8(untilNul(q.nameGbk))},
            {"previousClose", yuan(q.previousClose)},
            {"open", yuan(q.open)},
            {"high", yuan(q.high)},
            {"low", yuan(q.low)},
            {"last", yuan(q.last)},
            {"volume", carried(q.volume)},
            {"amount", carried(q.amount)},
            {"path", std::move(path)}};
}

// JSON inside a <script> element: "</" would end the element.
std::string scriptSafe(std::string json)
{
    for (size_t at = json.find("</"); at != std::string::npos; at = json.find("</", at + 3))
        json.replace(at, 2, "<\\/");
    return json;
}

std::string figuresTable()
{
    return "<table>\n"
           "<tr><td>现价</td><td id=\"last\"></td><td>涨幅</td><td id=\"change\"></td></tr>\n"
           "<tr><td>今开</td><td id=\"open\"></td><td>最高</td><td id=\"high\"></td></tr>\n"
           "<tr><td>最低</td><td id=\"low\"></td><td>成交量(手)</td><td id=\"volume\"></td></tr>\n"
           "<tr><td>成交额(万元)</td><td id=\"amount\"></td><td></td><td></td></tr>\n"
           "</table>\n";
}

std::string sourceNote(const ChartFigures &f)
{
    if (f.financePage.empty())
        return "<p>模拟行情，仅供测试。</p>\n";
    const std::string link = escapeHtml(f.financePage);
    return cformat("<p>实时行情，取自公开行情服务，仅供个人参考，不作商业用途。"
                   "<a id=\"finance-page\" href=\"%s\" target=\"_blank\" rel=\"noopener\">"
                   "在财经网站上查看本股</a></p>\n",
                   link.c_str());
}

} // namespace

Reply chartPage(const ChartFigures &f)
{
    const std::string name = gbkToUtf8(untilNul(f.quote.nameGbk));
    const std::string source
        = std::string(kChartDataPath) + "?" + std::string(wire::kChartCodeArgument) + "=" + f.code;
    std::string html = cformat(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%s 实时走势</title>\n"
        "<style>body{background:#1d3877;color:#fff;font-family:sans-serif;margin:12px}"
        "td{padding:2px 10px}a{color:#9cf}svg{display:block}</style></head>\n"
        "<body data-source=\"%s\" data-state=\"loading\">\n<h1>%s %s</h1>\n",
        escapeHtml(name).c_str(), escapeHtml(source).c_str(), escapeHtml(name).c_str(),
        escapeHtml(f.code).c_str());
    html += figuresTable();
    // As wide as the window, drawn in a 640 x 360 frame of its own.
    html += "<svg id=\"chart\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 640 360\" "
            "style=\"width:100%;height:auto\" role=\"img\" aria-label=\"分时走势\"></svg>\n";
    html += sourceNote(f);
    html += "<script id=\"figures\" type=\"application/json\">" + scriptSafe(figuresJson(f).dump())
        + "</script>\n<script>" + kChartScript + "</script>\n</body></html>\n";
    return htmlReply(std::move(html));
}

Reply chartData(const ChartFigures &f)
{
    return Reply {200, "application/json; charset=utf-8", figuresJson(f).dump(), false};
}

} // namespace lark::quoteserver
