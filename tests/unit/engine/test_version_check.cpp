#include "support/engine_fixture.h"

using namespace lark;
using namespace lark::test;
using namespace std::chrono;

namespace {

struct VersionCheck : EngineFixture
{
    std::vector<std::string> questionsFor(const std::string &serverText, int day = 19)
    {
        server.setVersionText(serverText);
        config.passLimit = 1;
        config.clock = [day] {
            std::tm t {};
            t.tm_year = 124;
            t.tm_mon = 5;
            t.tm_mday = day;
            t.tm_hour = 10;
            return t;
        };
        EXPECT_TRUE(startEngine().waitForNetworkThread(seconds(20)));
        return desktop.questions();
    }
};

using Questions = std::vector<std::string>;

} // namespace

TEST_F(VersionCheck, NewerVersionOnTheNineteenthAsksBeforeAnyQuoteAndOpensTheDownload)
{
    uint64_t quotesWhileAsking = 99;
    desktop.onAsk = [&] { quotesWhileAsking = quoteRequests(); };
    desktop.answer = true;
    EXPECT_EQ(questionsFor("version=2.1"), Questions {"请下载新版Tamberly! 最新版本是version=2.1"});
    EXPECT_EQ(quotesWhileAsking, 0u);
    ASSERT_EQ(desktop.urls().size(), 1u);
    EXPECT_EQ(desktop.urls()[0],
              "http://127.0.0.1:" + std::to_string(server.port())
                  + "/download/download/tamberly.zip");
}

TEST_F(VersionCheck, TrailingLineEndIsTrimmedAndCancelOpensNothing)
{
    EXPECT_EQ(questionsFor("version=3\r\n"), Questions {"请下载新版Tamberly! 最新版本是version=3"});
    EXPECT_TRUE(desktop.urls().empty());
}

TEST_F(VersionCheck, SameOrLowerVersionsAskNothing)
{
    EXPECT_TRUE(questionsFor("version=2.0").empty());
}

TEST_F(VersionCheck, TextComparesAsBytesSoTenIsOlder)
{
    EXPECT_TRUE(questionsFor("version=10").empty());
}

TEST_F(VersionCheck, EmptyReplyAsksNothing)
{
    EXPECT_TRUE(questionsFor("").empty());
}

TEST_F(VersionCheck, OtherDaysDoNotAsk)
{
    EXPECT_TRUE(questionsFor("version=9.9", 18).empty());
    EXPECT_EQ(server.requestCount("version.txt"), 0u);
}
