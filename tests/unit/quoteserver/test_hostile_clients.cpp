// The quote server against clients that hold connections open, dribble their requests or send
// endless distinct targets: a normal request is still answered at once, memory stays bounded.
#include "quoteserver/http/request_tally.h"
#include "quoteserver/quote_server.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <malloc.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

using namespace lark;
using namespace std::chrono;

namespace {

int connectTo(int port)
{
    const int sock = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(::connect(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    return sock;
}

void sendText(int sock, const std::string &text)
{
    [[maybe_unused]] ssize_t n = ::send(sock, text.data(), text.size(), MSG_NOSIGNAL);
}

// One request on a fresh connection; how long until the whole 97-byte quote was there.
milliseconds timeOneQuote(int port)
{
    const auto started = steady_clock::now();
    const int sock = connectTo(port);
    sendText(sock,
             "GET /stksrv_curve/JGetHq3.dll?GetStkOneHQWithNameSZ?507193&0001 HTTP/1.1\r\n"
             "Host: x\r\nConnection: close\r\n\r\n");
    std::string reply;
    char chunk[4096];
    for (ssize_t n; (n = ::recv(sock, chunk, sizeof chunk, 0)) > 0;)
        reply.append(chunk, static_cast<size_t>(n));
    ::close(sock);
    EXPECT_EQ(reply.size() - reply.find("\r\n\r\n") - 4, 97u);
    return duration_cast<milliseconds>(steady_clock::now() - started);
}

} // namespace

// As many threads as Lark's own market has: one waiting on connections, one answering.
TEST(HostileClients, SlowAndIdleClientsDelayNoNormalRequest)
{
    quoteserver::QuoteServer server({.workers = 1});
    const int port = server.start();
    std::vector<int> slow, idle;
    for (int i = 0; i < 64; ++i) {
        slow.push_back(connectTo(port));
        sendText(slow.back(), "GET /stksrv_curve/version.txt HTTP/1.1\r\n");
    }
    for (int i = 0; i < 300; ++i) // more than the server keeps open
        idle.push_back(connectTo(port));
    for (int round = 0; round < 5; ++round) {
        for (int sock : slow)
            sendText(sock, "X-Slow: " + std::to_string(round) + "\r\n");
        EXPECT_LT(timeOneQuote(port), milliseconds(1000)) << round;
        std::this_thread::sleep_for(milliseconds(200));
    }
    for (int sock : slow)
        ::close(sock);
    for (int sock : idle)
        ::close(sock);
}

TEST(HostileClients, CountsOfEndlesslyDistinctTargetsStayInBoundedMemory)
{
    quoteserver::RequestTally tally;
    const std::string pad(1000, 'x');
    const size_t before = ::mallinfo2().uordblks;
    for (int i = 0; i < 100'000; ++i)
        tally.add("/t/" + std::to_string(i) + "/" + pad);
    tally.add("/t/7/" + pad);
    EXPECT_LT(::mallinfo2().uordblks - before, size_t(1) << 20);
    EXPECT_EQ(tally.count(""), 100'001u);
    EXPECT_EQ(tally.count("/t/7/"), 2u);
}
