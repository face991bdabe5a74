#pragma once

#include "quoteserver/market_source.h"
#include "quoteserver/reply.h"

namespace lark::quoteserver {

inline constexpr const char *kChartDataPath = "/stksrv_curve/ChartData.asp";

// The chart page of a stock: its figures and the day's path, drawn in the browser and
// fetched again from the data URL while the page is open.
Reply chartPage(const ChartFigures &figures);
// The figures the page draws, as JSON.
Reply chartData(const ChartFigures &figures);

} // namespace lark::quoteserver
