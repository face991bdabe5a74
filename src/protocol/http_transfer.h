#pragma once

#include "protocol/server_address.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace lark {

// Plain HTTP/1.1 GETs on one kept-alive connection, through the environment's proxy when it
// names one: Content-Length, chunked and until-close bodies, no TLS and no compression. Every
// wait is bounded by the transfer's deadline and the stall limit, and abort() from any thread
// ends a transfer at once. Transfers run on one thread at a time.
class HttpTransfer
{
public:
    struct Options
    {
        std::string userAgent;
        std::chrono::milliseconds connect {10'000};
        std::chrono::milliseconds stalled {30'000}; // no byte for this long ends a transfer
        std::string referer; // sent with every request when not empty
    };

    enum class Ending {
        Done,
        Cut, // onData said no more; the connection is closed
        Failed,
        Aborted,
    };
    struct Outcome
    {
        Ending ending = Ending::Failed;
        int status = 0; // the HTTP status, when a status line came
        long connects = 0; // connections the transfer opened
    };

    explicit HttpTransfer(Options options);
    ~HttpTransfer();
    HttpTransfer(const HttpTransfer &) = delete;
    HttpTransfer &operator=(const HttpTransfer &) = delete;

    // GETs url ("http://host[:port]/target") within deadline, handing each piece of the body
    // to onData, which returns false to cut the transfer short.
    Outcome get(const std::string &url, std::chrono::milliseconds deadline,
                const std::function<bool(std::string_view)> &onData);

    // Ends a transfer in progress at once; every later one fails.
    void abort();
    bool aborted() const { return m_aborted; }

private:
    using Clock = std::chrono::steady_clock;
    struct Exchange;

    bool open(const ServerAddress &peer, Exchange &exchange);
    void closeConnection();
    bool usable() const;
    bool waitFor(short events, Clock::time_point until) const;
    bool sendAll(std::string_view data, const Exchange &exchange);
    // Reads what has come, after waiting for it at most until the stall limit or the end; 0
    // at the end of the stream, -1 on failure.
    long readSome(Exchange &exchange);
    bool readLine(std::string &line, Exchange &exchange);
    bool readResponse(Exchange &exchange);
    bool readLength(size_t length, Exchange &exchange);
    bool readChunks(Exchange &exchange);
    bool readToClose(Exchange &exchange);
    bool deliver(std::string_view piece, Exchange &exchange);

    const Options m_options;
    int m_wake = -1; // an eventfd that abort() makes readable for good
    std::atomic<bool> m_aborted {false};
    int m_socket = -1;
    ServerAddress m_peer; // where the open connection goes (a proxy or the server)
    std::string m_input; // bytes read but not yet taken
};

} // namespace lark
