#pragma once

#include "quoteserver/market_model.h"
#include "quoteserver/reply.h"

#include <vector>

namespace lark::sim {

Reply chartPage(const Stock &stock, const Quote &quote, const std::vector<int32_t> &prices);
Reply dailyTipPage();
Reply weeklyMemoPage();
Reply downloadArchive();

} // namespace lark::sim
