#pragma once

#include "quoteserver/market_source.h"
#include "quoteserver/reply.h"

#include <vector>

namespace lark::sim {

Reply chartPage(const ChartFigures &figures);
Reply dailyTipPage();
Reply weeklyMemoPage();
Reply downloadArchive();

} // namespace lark::sim
