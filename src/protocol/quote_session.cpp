#include "protocol/quote_session.h"

#include "protocol/environment_proxy.h"

#include <algorithm>
#include <netdb.h>

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
    // Through a proxy the proxy resolves the name; this machine may not be able to.
    if (!environmentProxy(m_server.host) && !hostResolves(m_server.host))
        return false;
    auto transfer = std::make_unique<HttpTransfer>(
        HttpTransfer::Options {"Lark", m_timeouts.connect, m_timeouts.stalled, {}});
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
HttpTransfer::Ending QuoteSession::perform(std::string_view path, Clock::duration deadline,
                                           const std::function<bool(std::string_view)> &onData)
{
    const auto now = Clock::now();
    const auto end = std::min(now + deadline, Clock::time_point(Clock::duration(m_until)));
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now);
    if (!m_transfer || m_aborted)
        return HttpTransfer::Ending::Failed;
    std::string url = m_baseUrl;
    url.append(path);
    const HttpTransfer::Outcome outcome = m_transfer->get(url, left, onData);
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
    if (ending != HttpTransfer::Ending::Done && ending != HttpTransfer::Ending::Cut)
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
    return ending == HttpTransfer::Ending::Done;
}

} // namespace lark
