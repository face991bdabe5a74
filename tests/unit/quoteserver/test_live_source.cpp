// The quote server on the live market, its three public services replayed on loopback from
// recorded replies, asked through the program's own protocol client.
#include "base/gbk.h"
#include "live_timing.h"
#include "protocol/day_history.h"
#include "protocol/query_paths.h"
#include "protocol/quote_record.h"
#include "protocol/quote_session.h"
#include "protocol/ranking_reply.h"
#include "protocol/stock_messages.h"
#include "protocol/wire_format.h"
#include "quoteserver/live/market_hours.h"
#include "quoteserver/live/rate_limiter.h"
#include "quoteserver/quote_server.h"
#include "upstream_replay.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace lark;
using namespace lark::test;
using namespace std::chrono;

namespace {

const char *const kWatched[]
    = {"0001",   "0002",   "0003",   "0004",   "0005",   "0006",   "0007",   "0008",
       "600061", "600062", "600063", "600064", "600065", "600066", "600067", "600068"};

// As the user nobody, the history of as many distinct stocks as connections, all at once (curl
// in a child process, its arguments made before the fork); how many got an answer.
int answeredAsAnotherUser(int port, int connections)
{
    std::vector<std::string> words {
        "curl",       "-s", "--parallel", "--parallel-max", std::to_string(connections),
        "--max-time", "20"};
    for (int i = 0; i < connections; ++i) {
        const std::string path = dayHistoryPath(std::to_string(600100 + i), "20250307", "20250314");
        words.insert(words.end(),
                     {"-o", "/dev/null", "-w", "%{http_code}\\n",
                      "http://127.0.0.1:" + std::to_string(port) + path});
    }
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], 1);
        if (::setgid(65534) == 0 && ::setuid(65534) == 0)
            ::execvp("curl", argv.data());
        _exit(127);
    }
    ::close(out[1]);
    std::string codes;
    char chunk[512];
    for (ssize_t n; (n = ::read(out[0], chunk, sizeof chunk)) > 0;)
        codes.append(chunk, static_cast<size_t>(n));
    ::close(out[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    int answered = 0;
    for (size_t at = codes.find("200"); at != std::string::npos; at = codes.find("200", at + 3))
        ++answered;
    return answered;
}

struct LiveServer : ::testing::Test
{
    UpstreamReplay replay {LARK_LIVE_DATA};
    std::filesystem::path cache = std::filesystem::temp_directory_path()
        / ("lark-live-" + std::to_string(::getpid()) + "-"
           + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::time_t today = recordedMorning();
    std::unique_ptr<quoteserver::QuoteServer> server;
    std::unique_ptr<QuoteSession> session;

    void SetUp() override
    {
        std::filesystem::remove_all(cache);
        replay.start();
    }
    void TearDown() override
    {
        session.reset();
        server.reset();
        std::filesystem::remove_all(cache);
    }

    void startServer(std::optional<milliseconds> quoteWindow = {},
                     const std::string &fallbackLists = {}, bool ownUserOnly = false)
    {
        session.reset();
        server.reset();
        quoteserver::LiveOptions live;
        live.upstreams = loopbackUpstreams(replay.url());
        if (!fallbackLists.empty())
            live.upstreams.fallbackLists = fallbackLists;
        live.cacheDir = cache;
        live.timing = fastLiveTiming();
        live.timing.quoteWindow = quoteWindow.value_or(live.timing.quoteWindow);
        live.userAgent = "Lark/2.0.0 (test)";
        live.clock = [this] { return today; };
        quoteserver::QuoteServerOptions options;
        options.live = live;
        options.ownUserOnly = ownUserOnly;
        server = std::make_unique<quoteserver::QuoteServer>(options);
        session = std::make_unique<QuoteSession>(ServerAddress {"127.0.0.1", server->start()});
        ASSERT_TRUE(session->connect());
    }

    QuoteOutcome quote(const std::string &code, QuoteRecord &record)
    {
        return fetchQuote(*session, code, record);
    }

    size_t requestsAfterStartUp(size_t startUp, const std::string &kind)
    {
        const auto all = replay.requests();
        return std::count_if(all.begin() + startUp, all.end(),
                             [&](const auto &r) { return r.kind == kind; });
    }
};

TEST_F(LiveServer, AnswersEveryQueryFromTheServices)
{
    startServer();
    const StockLists lists = fetchStockMessages(*session);
    ASSERT_TRUE(lists.loaded());
    EXPECT_EQ(lists.shanghai.count, 10); // A board then B board
    EXPECT_EQ(lists.shenzhen.count, 9);
    EXPECT_EQ(std::string(lists.shenzhen.bytes.data() + 16 + 1, 6), "000002");

    QuoteRecord record;
    ASSERT_EQ(quote("600061", record), QuoteOutcome::Valid);
    EXPECT_EQ(record.name, "国投资本");
    EXPECT_EQ(record.last, 7480);
    EXPECT_EQ(record.volume, 21350800);
    // The code decides the market, whichever form the query came in.
    ASSERT_EQ(quote("0001", record), QuoteOutcome::Valid);
    EXPECT_EQ(record.name, "平安银行");
    ASSERT_EQ(quote("000001", record), QuoteOutcome::Valid);
    EXPECT_EQ(record.last, 11520);
    for (const char *unknown : {"600065", "830799", "12ab"})
        EXPECT_EQ(quote(unknown, record), QuoteOutcome::Rejected) << unknown;

    // The week before today, without today's bar still growing.
    const auto history = session->query(dayHistoryPath("600061", "20250307", "20250314"), 3968);
    ASSERT_TRUE(history);
    EXPECT_EQ(dayHistoryVolumes(*history),
              (std::vector<int32_t> {265410, 198207, 176534, 254118, 189355}));

    // Shenzhen A by rise: numbers from the lists served above.
    const auto ranking = session->query(rankingPath(2, 3, 0, 16), wire::kRankingReadLimit);
    ASSERT_TRUE(ranking);
    const RankingPage page = parseRanking(*ranking);
    ASSERT_EQ(page.records.size(), 9u);
    EXPECT_TRUE(page.isLast);
    EXPECT_EQ(page.records[0].stockNumber, 10 + 7); // 301707, after the Shanghai list
    EXPECT_EQ(page.records[1].stockNumber, 10 + 2); // 000004
    EXPECT_EQ(page.records[5].stockNumber, -1); // 001400, listed after the lists were fetched
    EXPECT_EQ(page.records[8].last, 20150); // suspended: at its previous close

    // The web site's pages tell of the real market, not of a simulated one.
    for (const std::string_view path : {"/", "/jinribd/jrtishi.asp", "/jinribd/yizhoutz.asp"}) {
        const auto text = session->query(std::string(path), 4096);
        ASSERT_TRUE(text) << path;
        EXPECT_EQ(text->find("模拟"), std::string::npos) << path;
    }

    for (const auto &r : replay.requests())
        EXPECT_EQ(r.userAgent, "Lark/2.0.0 (test)") << r.target;
}

TEST_F(LiveServer, LaterStartsTakeTheListsAndDayBarsFromTheDiskAndRefreshThemForANewDay)
{
    auto histories = [this] {
        for (const char *code : kWatched)
            session->query(dayHistoryPath(code, "20250307", "20250314"), 3968);
    };
    startServer();
    ASSERT_TRUE(fetchStockMessages(*session).loaded());
    histories();
    EXPECT_EQ(replay.count("lists"), 4u);
    EXPECT_EQ(replay.count("history"), 16u);
    ASSERT_TRUE(std::filesystem::exists(cache / "boards.tsv"));

    startServer();
    ASSERT_TRUE(fetchStockMessages(*session).loaded());
    histories();
    EXPECT_EQ(replay.count("lists"), 4u);
    EXPECT_EQ(replay.count("history"), 16u) << "the day's bars come from the disk";
    const auto reply = session->query(dayHistoryPath("600061", "20250307", "20250314"), 3968);
    ASSERT_TRUE(reply);
    EXPECT_EQ(dayHistoryVolumes(*reply),
              (std::vector<int32_t> {265410, 198207, 176534, 254118, 189355}));

    // The next day the cached lists still answer at once; fresh ones are fetched behind them.
    today += 24 * 3600;
    replay.stop();
    startServer();
    const auto asked = steady_clock::now();
    const StockLists lists = fetchStockMessages(*session);
    EXPECT_LT(steady_clock::now() - asked, milliseconds(1000));
    EXPECT_TRUE(lists.loaded());
    replay.start();
    for (int i = 0; i < 100 && replay.count("lists") < 8; ++i)
        std::this_thread::sleep_for(milliseconds(50));
    EXPECT_EQ(replay.count("lists"), 8u);
}

// Sixteen stocks polled pass after pass, a pass starting once the window of the batch before
// has run out: one batch request a pass, none closer than the window, nothing else after
// start-up. The window is long beside a pass, so a loaded machine cannot split a pass in two.
TEST_F(LiveServer, AWatchListCostsOneQuoteRequestAPass)
{
    const milliseconds window(500);
    startServer(window);
    ASSERT_TRUE(fetchStockMessages(*session).loaded());
    for (const char *code : kWatched)
        session->query(dayHistoryPath(code, "20250307", "20250314"), 3968);
    const size_t startUp = replay.requests().size();
    const int passes = 5;
    for (int pass = 0; pass < passes; ++pass) {
        const auto started = steady_clock::now();
        int valid = 0;
        for (const char *code : kWatched) {
            QuoteRecord record;
            valid += quote(code, record) == QuoteOutcome::Valid;
        }
        EXPECT_EQ(valid, 12) << "pass " << pass;
        const auto ended = steady_clock::now();
        ASSERT_LT(ended - started, window) << "a pass outlasted its window";
        // The batch arrived before the pass ended, and its figures are fresh a window from then.
        std::this_thread::sleep_until(ended + window);
    }
    const auto all = replay.requests();
    EXPECT_EQ(requestsAfterStartUp(startUp, "quotes"), size_t(passes));
    EXPECT_EQ(all.size() - startUp, size_t(passes)) << "only quote requests after start-up";
    for (size_t i = startUp + 1; i < all.size(); ++i)
        EXPECT_GE(all[i].at - all[i - 1].at, window);
    // Each batch carries all sixteen.
    EXPECT_NE(all.back().target.find("sz000001"), std::string::npos);
    EXPECT_NE(all.back().target.find("sh600068"), std::string::npos);
}

// A batch slower than the refresh window still answers, and costs one request.
TEST_F(LiveServer, ASlowServiceCostsOneRequestAQuery)
{
    startServer();
    replay.setQuotesDelay(milliseconds(250));
    QuoteRecord record;
    EXPECT_EQ(quote("600061", record), QuoteOutcome::Valid);
    EXPECT_EQ(replay.count("quotes"), 1u);
}

TEST_F(LiveServer, FailuresGiveNoFiguresUntilTheServiceAnswersAgain)
{
    startServer();
    // Lists first: a board fetch cut by the outage would keep the status failing until its retry.
    ASSERT_TRUE(fetchStockMessages(*session).loaded());
    QuoteRecord record;
    ASSERT_EQ(quote("600061", record), QuoteOutcome::Valid);
    EXPECT_FALSE(server->marketStatus().failingSince);
    replay.setGarbage(true);
    std::this_thread::sleep_for(milliseconds(150));
    EXPECT_EQ(quote("600061", record), QuoteOutcome::Failed);
    const auto since = server->marketStatus().failingSince;
    ASSERT_TRUE(since);
    replay.stop();
    std::this_thread::sleep_for(milliseconds(150));
    EXPECT_EQ(quote("600061", record), QuoteOutcome::Failed);
    EXPECT_EQ(server->marketStatus().failingSince, since);

    replay.setGarbage(false);
    replay.start();
    bool back = false;
    for (int i = 0; i < 40 && !back; ++i) {
        std::this_thread::sleep_for(milliseconds(50));
        back = quote("600061", record) == QuoteOutcome::Valid;
    }
    EXPECT_TRUE(back);
    EXPECT_FALSE(server->marketStatus().failingSince);
}

// Each kind of figures goes on from its second service while the first fails, and goes back
// to the first once it answers again (probed when its back-off allows).
TEST_F(LiveServer, EachServiceHasAFallbackAndTheFirstTakesOverAgain)
{
    UpstreamReplay fallbackLists {LARK_LIVE_DATA};
    fallbackLists.start();
    replay.setFailing("lists", true);
    startServer({}, fallbackLists.url());
    // The board lists of the start come from the second list service.
    ASSERT_TRUE(fetchStockMessages(*session).loaded());
    EXPECT_GT(fallbackLists.count("lists"), 0u);

    // Asks until the first service is asked again, within a second of trying.
    auto backWithin = [](const std::function<bool()> &firstAsked) {
        const auto deadline = steady_clock::now() + seconds(3);
        while (steady_clock::now() < deadline) {
            if (firstAsked())
                return true;
            std::this_thread::sleep_for(fastLiveTiming().backoffFirst);
        }
        return false;
    };
    QuoteRecord record;
    replay.setFailing("quotes", true);
    EXPECT_EQ(quote("600061", record), QuoteOutcome::Valid);
    EXPECT_EQ(record.last, 7480);
    EXPECT_EQ(replay.count("sina"), 1u);
    replay.setFailing("quotes", false);
    const size_t sina = replay.count("sina");
    EXPECT_TRUE(backWithin([&] {
        const size_t before = replay.count("quotes");
        return quote("600061", record) == QuoteOutcome::Valid && replay.count("quotes") > before;
    }));
    EXPECT_LE(replay.count("sina"), sina + 3) << "the fallback left alone once the first answers";

    replay.setFailing("history", true);
    auto history = [&](const char *code) {
        return session->query(dayHistoryPath(code, "20250307", "20250314"), 3968);
    };
    ASSERT_TRUE(history("600061"));
    EXPECT_EQ(dayHistoryVolumes(*history("600061")).size(), 5u);
    EXPECT_EQ(replay.count("bars"), 1u) << "one stock's bars asked once a day";
    replay.setFailing("history", false);
    EXPECT_TRUE(backWithin([&] {
        const size_t before = replay.count("history");
        return history("0001") && replay.count("history") > before;
    }));

    replay.setFailing("lists", false);
    EXPECT_TRUE(backWithin([&] {
        const size_t before = replay.count("ranking");
        session->query(rankingPath(2, 3, 0, 16), wire::kRankingReadLimit);
        return replay.count("ranking") > before;
    }));
}

// Another user of the machine, asking the history of fifty distinct stocks on fifty connections at
// once: the built-in server (this user's only) answers none of them, a stand-alone one gives
// that user a third of the upstream budget at most; either way this user's quotes come at once.
TEST_F(LiveServer, AnotherUsersQueriesCostThisUserNothing)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to ask as another user";
    for (const bool ownUserOnly : {true, false}) {
        SCOPED_TRACE(ownUserOnly ? "built-in" : "stand-alone");
        startServer({}, {}, ownUserOnly);
        const size_t before = replay.count("history");
        const int port = server->port();
        std::atomic<int> answered {-1};
        std::thread other([&] { answered = answeredAsAnotherUser(port, 50); });
        for (int pass = 0; pass < 10; ++pass) {
            const auto asked = steady_clock::now();
            QuoteRecord record;
            EXPECT_EQ(quote("600061", record), QuoteOutcome::Valid);
            EXPECT_LT(steady_clock::now() - asked, milliseconds(1500)) << "pass " << pass;
        }
        other.join();
        const size_t upstream = replay.count("history") - before;
        if (ownUserOnly) {
            EXPECT_EQ(answered, 0) << "answered another user";
            EXPECT_EQ(upstream, 0u);
        } else {
            EXPECT_GT(answered, 0);
            EXPECT_LE(upstream, size_t(fastLiveTiming().perMinute / 3));
        }
    }
}

TEST(MarketHours, SessionsAreBeijingWeekdayHours)
{
    struct Case
    {
        std::time_t at;
        bool open;
    } cases[] = {
        {beijingTime(2025, 3, 15, 20, 0), false}, // a Saturday evening
        {beijingTime(2025, 3, 16, 10, 30), false}, // a Sunday morning
        {beijingTime(2025, 3, 12, 20, 0), false},  {beijingTime(2025, 3, 12, 9, 14), false},
        {beijingTime(2025, 3, 12, 9, 15), true}, // the call auction
        {beijingTime(2025, 3, 12, 10, 30), true},  {beijingTime(2025, 3, 12, 11, 30), false},
        {beijingTime(2025, 3, 12, 13, 0), true},   {beijingTime(2025, 3, 12, 15, 4), true},
        {beijingTime(2025, 3, 12, 15, 5), false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(quoteserver::MarketHours::inSession(c.at), c.open) << c.at;
}

// Polled for three refresh windows: a closed market is asked once, an open one again and again.
TEST_F(LiveServer, AClosedMarketIsAskedAtMostOnceAMinute)
{
    struct Case
    {
        const char *when;
        std::time_t at;
        bool closed;
    } cases[] = {
        {"Saturday 20:00", beijingTime(2025, 3, 15, 20, 0), true},
        {"weekday 20:00", beijingTime(2025, 3, 14, 20, 0), true},
        {"a weekday the replies show without trading", beijingTime(2025, 3, 19, 10, 30), true},
        {"weekday 10:30", beijingTime(2025, 3, 14, 10, 30), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.when);
        today = c.at;
        startServer();
        const size_t before = replay.count("quotes");
        const auto start = steady_clock::now();
        QuoteRecord record;
        while (steady_clock::now() - start < 3 * fastLiveTiming().quoteWindow)
            ASSERT_EQ(quote("600061", record), QuoteOutcome::Valid);
        const size_t asked = replay.count("quotes") - before;
        EXPECT_EQ(server->marketStatus().closed, c.closed);
        if (c.closed)
            EXPECT_EQ(asked, 1u);
        else
            EXPECT_GE(asked, 2u);
    }
}

TEST(RateLimiter, NoMoreThanFiveStartsInAnySecond)
{
    quoteserver::RateLimiter limiter(5, 180, milliseconds(50));
    std::vector<steady_clock::time_point> starts;
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(limiter.acquire());
        starts.push_back(steady_clock::now());
    }
    for (size_t i = 5; i < starts.size(); ++i)
        EXPECT_GE(starts[i] - starts[i - 5], milliseconds(50));
    limiter.stop();
    EXPECT_FALSE(limiter.acquire());
}

} // namespace
