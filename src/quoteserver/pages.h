#pragma once

#include "quoteserver/reply.h"

#include <string>
#include <string_view>

namespace lark::quoteserver {

// Text made safe to stand in HTML, in an element or an attribute.
std::string escapeHtml(std::string_view text);
Reply dailyTipPage();
Reply weeklyMemoPage();
Reply downloadArchive();

} // namespace lark::quoteserver
