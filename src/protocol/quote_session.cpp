#include "protocol/quote_session.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstdlib>
#include <curl/curl.h>
#include <netdb.h>
#include <strings.h>

namespace lark {
namespace {

constexpr size_t kDiscardLimit = 64 * 1024;

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

QuoteSession::QuoteSession(ServerAddress server, SessionTimeouts timeouts)
    : m_server(std::move(server))
    , m_timeouts(timeouts)
    , m_baseUrl(m_server.baseUrl())
{ }

QuoteSession::~QuoteSession()
{
    close();
}

bool QuoteSession::connect()
{
    std::lock_guard lock(m_transferLock);
    if (m_transfer)
        return true;
    const bool loopback = isLoopback(m_server.host);
    // Through a proxy the proxy resolves the name; this machine may not be able to.
    const bool direct = loopback || !environmentNamesProxy();
    if (direct && !hostResolves(m_server.host))
        return false;
    auto transfer = std::make_unique<CurlTransfer>(
        "Lark", CurlTransfer::Limits {m_timeouts.connect, m_timeouts.stalled});
    if (!transfer->ready())
        return false;
    CURL *easy = transfer->easy();
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    // Otherwise libcurl takes http_proxy, ALL_PROXY and no_proxy from the environment.
    if (loopback)
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
    if (m_aborted)
        transfer->abort();
    m_transfer = std::move(transfer);
    return true;
}

void QuoteSession::close()
{
    std::lock_guard lock(m_transferLock);
    m_transfer.reset();
}

void QuoteSession::abort()
{
    std::lock_guard lock(m_transferLock);
    m_aborted = true;
    if (m_transfer)
        m_transfer->abort();
}

// deadline: the query's own, from now; the session's limit may cut it shorter.
CurlTransfer::Ending QuoteSession::perform(std::string_view path, Clock::duration deadline,
                                           const std::function<bool(std::string_view)> &onData)
{
    const auto now = Clock::now();
    const auto end = std::min(now + deadline, Clock::time_point(Clock::duration(m_until)));
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now);
    if (!m_transfer || m_aborted)
        return CurlTransfer::Ending::Failed;
    std::string url = m_baseUrl;
    url.append(path);
    const CurlTransfer::Outcome outcome = m_transfer->get(url, left, onData);
    m_connectionsOpened += outcome.connects;
    return outcome.ending;
}

// Bytes past maxBytes are read and dropped, so the connection can be reused; a reply far longer
// than any expected one is cut off instead.
std::optional<std::string> QuoteSession::query(std::string_view path, size_t maxBytes)
{
    std::string reply;
    size_t received = 0;
    const auto ending = perform(path, m_timeouts.query, [&](std::string_view piece) {
        if (received < maxBytes)
            reply.append(piece.substr(0, maxBytes - received));
        received += piece.size();
        return received <= maxBytes + kDiscardLimit;
    });
    if (ending != CurlTransfer::Ending::Done && ending != CurlTransfer::Ending::Cut)
        return std::nullopt;
    return reply;
}

bool QuoteSession::queryChunks(std::string_view path, size_t maxTotal,
                               const std::function<void(std::string_view)> &onChunk)
{
    size_t received = 0;
    const auto ending = perform(path, m_timeouts.list, [&](std::string_view piece) {
        received += piece.size();
        if (received > maxTotal)
            return false;
        onChunk(piece);
        return true;
    });
    return ending == CurlTransfer::Ending::Done;
}

} // namespace lark
