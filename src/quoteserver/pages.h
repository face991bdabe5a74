#pragma once

#include "quoteserver/reply.h"

#include <string>
#include <string_view>

namespace lark::quoteserver {

// Text made safe to stand in HTML, in an element or an attribute.
std::string escapeHtml(std::string_view text);
// The web site's pages, true of the market the server serves (live: the real one).
Reply siteHomePage(bool live);
Reply dailyTipPage(bool live);
Reply weeklyMemoPage(bool live);
Reply downloadArchive();

} // namespace lark::quoteserver
