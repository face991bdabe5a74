// Every page the program opens in the browser is one the built-in server has: the site's home
// (the window's and the About box's link), the tip, the memo, the download and a chart page.
#include "protocol/wire_format.h"
#include "support/engine_fixture.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

using namespace lark;
using namespace lark::test;

namespace {

long statusOf(const std::string &url)
{
    CURL *curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 10L);
    curl_easy_setopt(
        curl, CURLOPT_WRITEFUNCTION,
        +[](char *, size_t size, size_t count, void *) { return size * count; });
    long status = 0;
    if (curl_easy_perform(curl) == CURLE_OK)
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);
    return status;
}

} // namespace

using SiteLinks = EngineFixture;

TEST_F(SiteLinks, EveryPageTheProgramOpensIsThere)
{
    const Engine engine(config, list, desktop);
    for (const std::string &url :
         {engine.webPageUrl("/"), engine.webPageUrl(wire::kTodayTipPath),
          engine.webPageUrl(wire::kWeeklyMemoPath), engine.webPageUrl(wire::kDownloadPath),
          engine.chartUrl("600061"), engine.chartUrl("0001")})
        EXPECT_EQ(statusOf(url), 200) << url;
}
