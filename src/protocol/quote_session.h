#pragma once

#include "protocol/http_transfer.h"
#include "protocol/server_address.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace lark {

struct SessionTimeouts
{
    std::chrono::milliseconds connect {10'000};
    std::chrono::seconds stalled {30};
    // From the request to the last byte, however the server drips: a quote, history, ranking
    // or version query, and one stock list.
    std::chrono::milliseconds query {15'000};
    std::chrono::milliseconds list {60'000};
    // Every query of the start (stock lists, day histories, version) together.
    std::chrono::milliseconds startUp {110'000};
};

// One kept-alive HTTP connection to the quote server, through the environment's proxy as curl
// would take it (never for a loopback server). A query either fails (no reply) or yields the
// first bytes of the body; the status line is never judged.
// Queries run on one thread at a time; abort() may be called from any thread.
class QuoteSession
{
public:
    explicit QuoteSession(ServerAddress server, SessionTimeouts timeouts = {});
    ~QuoteSession();
    QuoteSession(const QuoteSession &) = delete;
    QuoteSession &operator=(const QuoteSession &) = delete;

    // Prepares the connection; false when the host name cannot be resolved (a proxy, when
    // there is one, resolves it instead).
    bool connect();
    // On the thread that connects.
    bool isConnected() const { return m_transfer != nullptr; }

    // GET path; keeps at most maxBytes of the reply body. nullopt when the query failed.
    std::optional<std::string> query(std::string_view path, size_t maxBytes);

    // GET path, handing every piece of the body to onChunk as it arrives; false when failed.
    // A body beyond maxTotal bytes fails the query.
    bool queryChunks(std::string_view path, size_t maxTotal,
                     const std::function<void(std::string_view)> &onChunk);

    // No query runs past this point: it fails when it comes, or is cut off there.
    using Clock = std::chrono::steady_clock;
    void limitUntil(Clock::time_point until) { m_until = until.time_since_epoch().count(); }

    // Ends a transfer in progress at once; every later query fails.
    void abort();
    void close();

    // TCP connections opened so far (1 for a session that kept its connection).
    long connectionsOpened() const { return m_connectionsOpened; }
    const ServerAddress &server() const { return m_server; }

private:
    HttpTransfer::Ending perform(std::string_view path, Clock::duration deadline,
                                 const std::function<bool(std::string_view)> &onData);

    ServerAddress m_server;
    SessionTimeouts m_timeouts;
    std::string m_baseUrl;
    std::mutex m_transferLock; // the pointer, which abort() reads from another thread
    std::unique_ptr<HttpTransfer> m_transfer;
    std::atomic<bool> m_aborted {false};
    std::atomic<Clock::rep> m_until {Clock::time_point::max().time_since_epoch().count()};
    long m_connectionsOpened = 0;
};

} // namespace lark
