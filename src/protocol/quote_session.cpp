#include "protocol/quote_session.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstdlib>
#include <curl/curl.h>
#include <mutex>
#include <netdb.h>
#include <strings.h>

namespace lark {
namespace {

// Bytes past the caller's maximum are read and dropped, so the connection can be reused;
// a reply this much longer than any expected one is cut off instead.
constexpr size_t kDiscardLimit = 64 * 1024;

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool hostResolves(const std::string &host)
{
    addrinfo hints {};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *result = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &result) != 0)
        return false;
    freeaddrinfo(result);
    return true;
}

// The built-in market and other local servers are reached directly whatever the environment's
// proxy settings say.
bool isLoopback(const std::string &host)
{
    const size_t length = host.size();
    if (strcasecmp(host.c_str(), "localhost") == 0
        || (length > 10 && strcasecmp(host.c_str() + length - 10, ".localhost") == 0))
        return true;
    in_addr v4 {};
    if (inet_pton(AF_INET, host.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6 {};
    return inet_pton(AF_INET6, host.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

// Whether the environment names a proxy for http:// addresses, read as libcurl reads it.
bool environmentNamesProxy()
{
    for (const char *name : {"http_proxy", "all_proxy", "ALL_PROXY"}) {
        const char *value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

} // namespace

struct QuoteSession::Transfer
{
    size_t keepLimit = 0; // bytes handed on
    size_t totalLimit = 0; // bytes accepted before the transfer is cut
    size_t received = 0;
    bool cut = false;
    std::function<void(std::string_view)> sink;
};

QuoteSession::QuoteSession(ServerAddress server, SessionTimeouts timeouts)
    : m_server(std::move(server))
    , m_timeouts(timeouts)
    , m_baseUrl(m_server.baseUrl())
{
    initCurlOnce();
}

QuoteSession::~QuoteSession()
{
    close();
}

bool QuoteSession::connect()
{
    if (m_easy)
        return true;
    // Through a proxy the proxy resolves the name; this machine may not be able to.
    const bool direct = isLoopback(m_server.host) || !environmentNamesProxy();
    if (direct && !hostResolves(m_server.host))
        return false;
    m_easy = curl_easy_init();
    m_multi = curl_multi_init();
    if (!m_easy || !m_multi) {
        close();
        return false;
    }
    curl_easy_setopt(m_easy, CURLOPT_USERAGENT, "Lark");
    curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_easy, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(m_easy, CURLOPT_TCP_NODELAY, 1L);
    // Otherwise libcurl takes http_proxy, ALL_PROXY and no_proxy from the environment.
    if (isLoopback(m_server.host))
        curl_easy_setopt(m_easy, CURLOPT_PROXY, "");
    curl_easy_setopt(m_easy, CURLOPT_CONNECTTIMEOUT_MS, long(m_timeouts.connect.count()));
    curl_easy_setopt(m_easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(m_easy, CURLOPT_LOW_SPEED_TIME, long(m_timeouts.stalled.count()));
    curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &QuoteSession::onWrite);
    return true;
}

void QuoteSession::close()
{
    if (m_easy)
        curl_easy_cleanup(m_easy);
    if (m_multi)
        curl_multi_cleanup(m_multi);
    m_easy = nullptr;
    m_multi = nullptr;
}

void QuoteSession::abort()
{
    m_aborted = true;
    if (m_multi)
        curl_multi_wakeup(m_multi);
}

size_t QuoteSession::onWrite(char *data, size_t size, size_t count, void *userdata)
{
    auto &t = *static_cast<Transfer *>(userdata);
    size_t n = size * count;
    if (t.received < t.keepLimit)
        t.sink(std::string_view(data, std::min(n, t.keepLimit - t.received)));
    t.received += n;
    if (t.received > t.totalLimit) {
        t.cut = true;
        return 0;
    }
    return n;
}

// deadline: the query's own, from now; the session's limit may cut it shorter.
bool QuoteSession::perform(std::string_view path, Transfer &transfer, Clock::duration deadline)
{
    const auto now = Clock::now();
    const auto end = std::min(now + deadline, Clock::time_point(Clock::duration(m_until)));
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count();
    if (!m_easy || m_aborted || left <= 0)
        return false;
    std::string url = m_baseUrl;
    url.append(path);
    curl_easy_setopt(m_easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(m_easy, CURLOPT_TIMEOUT_MS, long(left));
    curl_easy_setopt(m_easy, CURLOPT_WRITEDATA, &transfer);
    if (curl_multi_add_handle(m_multi, m_easy) != CURLM_OK)
        return false;
    int running = 1;
    while (running && !m_aborted) {
        if (curl_multi_perform(m_multi, &running) != CURLM_OK)
            break;
        if (running)
            curl_multi_poll(m_multi, nullptr, 0, 1000, nullptr);
    }
    CURLcode result = CURLE_ABORTED_BY_CALLBACK;
    int queued = 0;
    while (CURLMsg *msg = curl_multi_info_read(m_multi, &queued)) {
        if (msg->msg == CURLMSG_DONE)
            result = msg->data.result;
    }
    long connects = 0;
    if (curl_easy_getinfo(m_easy, CURLINFO_NUM_CONNECTS, &connects) == CURLE_OK)
        m_connectionsOpened += connects;
    curl_multi_remove_handle(m_multi, m_easy);
    if (m_aborted)
        return false;
    return result == CURLE_OK || (result == CURLE_WRITE_ERROR && transfer.cut);
}

std::optional<std::string> QuoteSession::query(std::string_view path, size_t maxBytes)
{
    std::string reply;
    Transfer transfer;
    transfer.keepLimit = maxBytes;
    transfer.totalLimit = maxBytes + kDiscardLimit;
    transfer.sink = [&reply](std::string_view piece) { reply.append(piece); };
    if (!perform(path, transfer, m_timeouts.query))
        return std::nullopt;
    return reply;
}

bool QuoteSession::queryChunks(std::string_view path, size_t maxTotal,
                               const std::function<void(std::string_view)> &onChunk)
{
    Transfer transfer;
    transfer.keepLimit = maxTotal;
    transfer.totalLimit = maxTotal;
    transfer.sink = onChunk;
    return perform(path, transfer, m_timeouts.list) && !transfer.cut;
}

} // namespace lark
