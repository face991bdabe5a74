#include "protocol/query_paths.h"
#include "protocol/quote_record.h"
#include "protocol/quote_session.h"
#include "protocol/wire_format.h"
#include "quoteserver/quote_server.h"
#include "support/pinned.h"
#include "support/reply_bytes.h"
#include "support/scripted_http_server.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <thread>

using namespace lark;
using namespace std::chrono;

namespace {

struct QuoteSessionTest : ::testing::Test
{
    quoteserver::QuoteServer server;
    int port = server.start();
    QuoteSession session {{"127.0.0.1", port}, {milliseconds(2000), seconds(1)}};

    void SetUp() override { ASSERT_TRUE(session.connect()); }
};

// A port nobody listens on.
int deadPort()
{
    quoteserver::QuoteServer probe;
    int port = probe.start();
    probe.stop();
    return port;
}

// Clears every proxy variable, sets the given ones, and puts the old values back at the end.
class ProxyEnvironment
{
public:
    explicit ProxyEnvironment(const std::map<std::string, std::string> &values)
    {
        for (const char *name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY",
                                 "all_proxy", "ALL_PROXY", "no_proxy", "NO_PROXY"}) {
            if (const char *old = std::getenv(name))
                m_saved[name] = old;
            else
                m_saved[name] = std::nullopt;
            ::unsetenv(name);
        }
        for (const auto &[name, value] : values)
            ::setenv(name.c_str(), value.c_str(), 1);
    }
    ~ProxyEnvironment()
    {
        for (const auto &[name, value] : m_saved) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }

private:
    std::map<std::string, std::optional<std::string>> m_saved;
};

// The last price of a quote fetched from host, nullopt when no quote came.
std::optional<int32_t> lastPriceFrom(const std::string &host, int port)
{
    QuoteSession session({host, port}, {milliseconds(2000), seconds(2)});
    QuoteRecord record;
    if (!session.connect() || fetchQuote(session, "0001", record) != QuoteOutcome::Valid)
        return std::nullopt;
    return record.last;
}

} // namespace

// Proxy settings come from the environment as curl reads them (http_proxy or ALL_PROXY for a
// plain http address, no_proxy); a loopback server is always reached directly.
TEST(QuoteSession, EnvironmentProxyCarriesRemoteServersButNeverLoopback)
{
    test::ScriptedHttpServer proxy({test::quoteReply("", {{test::kLast, 4242}})});
    test::ScriptedHttpServer local({test::quoteReply("", {{test::kLast, 1111}})});
    const std::string viaProxy = "http://" + proxy.address();
    const std::string remote = "quotes.invalid"; // resolves nowhere: only a proxy reaches it
    struct Case
    {
        std::map<std::string, std::string> environment;
        std::string host;
        int port;
        std::optional<int32_t> last;
        bool throughProxy;
    };
    const Case cases[] = {
        {{{"http_proxy", viaProxy}}, remote, 80, 4242, true},
        {{{"ALL_PROXY", viaProxy}}, remote, 80, 4242, true},
        {{{"http_proxy", viaProxy}, {"no_proxy", "example.org," + remote}}, remote, 80, {}, false},
        {{{"HTTPS_PROXY", viaProxy}}, remote, 80, {}, false}, // for https:// addresses only
        {{{"http_proxy", viaProxy}}, "127.0.0.1", local.port(), 1111, false},
        {{{"http_proxy", viaProxy}}, "localhost", local.port(), 1111, false},
        {{{"ALL_PROXY", viaProxy}}, "::1", local.port(), {}, false}, // nobody listens there
    };
    for (const Case &c : cases) {
        const size_t before = proxy.requestLines().size();
        {
            ProxyEnvironment environment(c.environment);
            EXPECT_EQ(lastPriceFrom(c.host, c.port), c.last) << c.host;
        }
        const auto lines = proxy.requestLines();
        ASSERT_EQ(lines.size(), before + (c.throughProxy ? 1 : 0)) << c.host;
        if (c.throughProxy) {
            EXPECT_EQ(lines.back(), "GET http://" + remote + quotePath("0001") + " HTTP/1.1");
        }
    }
}

// Over TCP a reply may come in several reads; it is judged by all of it, up to the maximum.
TEST(QuoteSession, ReplyInPiecesIsJudgedByItsWholeLength)
{
    const std::string reply = test::quoteReply("", {{test::kLast, 4321}});
    test::ScriptedHttpServer server({reply.substr(0, 40), reply.substr(40)}, milliseconds(100));
    EXPECT_EQ(lastPriceFrom("127.0.0.1", server.port()), 4321);
    test::ScriptedHttpServer longer({reply, reply}, milliseconds(100));
    QuoteSession session({"127.0.0.1", longer.port()});
    ASSERT_TRUE(session.connect());
    auto twice = session.query(quotePath("0001"), wire::kQuoteReadLimit);
    ASSERT_TRUE(twice);
    EXPECT_EQ(*twice, (reply + reply).substr(0, wire::kQuoteReadLimit));
}

TEST_F(QuoteSessionTest, ThousandQueriesShareOneConnection)
{
    QuoteRecord record;
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(fetchQuote(session, i % 2 ? "0001" : "600061", record), QuoteOutcome::Valid);
    EXPECT_EQ(session.connectionsOpened(), 1);
    EXPECT_EQ(server.requestCount("GetStkOneHQWithName"), 1000u);
}

TEST_F(QuoteSessionTest, ValidReplyDecodesThePinnedFigures)
{
    server.pin("600061", test::pinnedPrices(12000, 12340, "测试"));
    QuoteRecord record;
    ASSERT_EQ(fetchQuote(session, "600061", record), QuoteOutcome::Valid);
    EXPECT_EQ(record.name, "测试");
    EXPECT_EQ(record.last, 12340);
    EXPECT_EQ(record.previousClose, 12000);
}

TEST_F(QuoteSessionTest, LongShortAndErrorRepliesAreRejectedByLength)
{
    QuoteRecord record;
    record.last = 777;
    for (size_t length : {0ul, 96ul, 98ul, 200ul, 1ul << 20}) {
        server.injectFault({quoteserver::FaultKind::WrongLength, "0002", 0, length, 500, 1});
        auto reply = session.query(quotePath("0002"), wire::kQuoteReadLimit);
        ASSERT_TRUE(reply) << length;
        EXPECT_EQ(reply->size(), std::min<size_t>(length, 102)) << length;
        server.injectFault({quoteserver::FaultKind::WrongLength, "0002", 0, length, 500, 1});
        EXPECT_EQ(fetchQuote(session, "0002", record), QuoteOutcome::Rejected) << length;
    }
    server.injectFault({quoteserver::FaultKind::HttpError, "0002", 0, 0, 500, 1});
    EXPECT_EQ(fetchQuote(session, "0002", record), QuoteOutcome::Rejected);
    EXPECT_EQ(record.last, 777); // a rejected reply fills nothing
    // Cutting a long reply short keeps the connection for the next query.
    EXPECT_EQ(fetchQuote(session, "0002", record), QuoteOutcome::Valid);
}

TEST_F(QuoteSessionTest, DroppedConnectionFailsAndTheNextQueryReconnects)
{
    server.injectFault({quoteserver::FaultKind::Drop, "0003", 0, 0, 500, 1});
    QuoteRecord record;
    record.last = 777;
    EXPECT_EQ(fetchQuote(session, "0003", record), QuoteOutcome::Failed);
    EXPECT_EQ(record.last, 777);
    EXPECT_EQ(fetchQuote(session, "0003", record), QuoteOutcome::Valid);
}

TEST(QuoteSession, DeadServerFailsPromptlyAndUnknownHostDoesNotConnect)
{
    QuoteSession session({"127.0.0.1", deadPort()});
    ASSERT_TRUE(session.connect());
    auto started = steady_clock::now();
    EXPECT_FALSE(session.query("/stksrv_curve/version.txt", 11));
    EXPECT_LT(steady_clock::now() - started, seconds(2));
    QuoteSession nowhere({"nonexistent.invalid", 80});
    EXPECT_FALSE(nowhere.connect());
    EXPECT_FALSE(nowhere.query("/", 10));
}

TEST_F(QuoteSessionTest, StalledReplyFailsAfterTheStallTimeout)
{
    server.injectFault({quoteserver::FaultKind::Delay, "0004", 5000, 0, 500, 1});
    auto started = steady_clock::now();
    EXPECT_FALSE(session.query(quotePath("0004"), 102));
    EXPECT_LT(steady_clock::now() - started, milliseconds(3500));
}

TEST_F(QuoteSessionTest, AbortEndsATransferAtOnceAndForGood)
{
    server.injectFault({quoteserver::FaultKind::Delay, "0005", 5000, 0, 500, 1});
    std::thread aborter([this] {
        std::this_thread::sleep_for(milliseconds(100));
        session.abort();
    });
    auto started = steady_clock::now();
    EXPECT_FALSE(session.query(quotePath("0005"), 102));
    EXPECT_LT(steady_clock::now() - started, milliseconds(600));
    aborter.join();
    EXPECT_FALSE(session.query(quotePath("0001"), 102));
}
