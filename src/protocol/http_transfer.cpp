#include "protocol/http_transfer.h"

#include "base/ascii_text.h"
#include "base/whole_number.h"
#include "protocol/environment_proxy.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <optional>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace lark {
namespace {

constexpr size_t kLongestLine = 16 * 1024;
constexpr size_t kLongestHead = 64 * 1024;
constexpr size_t kReadSize = 16 * 1024;

struct HttpUrl
{
    ServerAddress server;
    std::string target;
};

std::optional<HttpUrl> parseUrl(std::string_view url)
{
    constexpr std::string_view scheme = "http://";
    if (!startsWithIgnoringCase(url, scheme))
        return std::nullopt;
    url.remove_prefix(scheme.size());
    const auto slash = url.find('/');
    auto server = parseServerAddress(url.substr(0, slash));
    if (!server)
        return std::nullopt;
    return HttpUrl {std::move(*server),
                    slash == std::string_view::npos ? "/" : std::string(url.substr(slash))};
}

// "host" or "host:port" as a Host header and an absolute target write it; 80 goes unsaid.
std::string authorityOf(const ServerAddress &server)
{
    return server.port == 80 ? server.urlHost()
                             : server.urlHost() + ":" + std::to_string(server.port);
}

using Addresses = std::unique_ptr<addrinfo, decltype(&freeaddrinfo)>;

// A name lookup cannot be interrupted, so it runs on a thread of its own, which the transfer
// leaves to finish alone when it is aborted or out of time.
struct Lookup
{
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    addrinfo *result = nullptr;
    ~Lookup()
    {
        if (result)
            freeaddrinfo(result);
    }
};

} // namespace

struct HttpTransfer::Exchange
{
    Clock::time_point end;
    const std::function<bool(std::string_view)> &onData;
    Outcome outcome;
    bool responded = false; // a byte of the response came
    bool keepAlive = false;
    bool cut = false;
};

HttpTransfer::HttpTransfer(Options options)
    : m_options(std::move(options))
    , m_wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{ }

HttpTransfer::~HttpTransfer()
{
    closeConnection();
    if (m_wake >= 0)
        ::close(m_wake);
}

void HttpTransfer::abort()
{
    m_aborted = true;
    const uint64_t one = 1;
    if (m_wake >= 0 && ::write(m_wake, &one, sizeof one) < 0) {
        // The counter is full, so it is readable already.
    }
}

void HttpTransfer::closeConnection()
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
    m_peer = {};
    m_input.clear();
}

bool HttpTransfer::waitFor(short events, Clock::time_point until) const
{
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
        if (left.count() <= 0 || m_aborted)
            return false;
        pollfd fds[2] = {{m_socket, events, 0}, {m_wake, POLLIN, 0}};
        const int ready
            = ::poll(fds, m_wake >= 0 ? 2 : 1, int(std::min<long>(left.count(), INT_MAX)));
        if (ready < 0 && errno != EINTR)
            return false;
        if (ready > 0)
            return fds[1].revents == 0; // an error or hang-up shows in the read or write
    }
}

// A kept-alive connection that has become readable between transfers was closed by the server
// or carries bytes nobody asked for: either way it is not used again.
bool HttpTransfer::usable() const
{
    pollfd fd {m_socket, POLLIN, 0};
    return ::poll(&fd, 1, 0) == 0;
}

bool HttpTransfer::open(const ServerAddress &peer, Exchange &exchange)
{
    const std::string &host = peer.host;
    closeConnection();
    const auto connectEnd = std::min(exchange.end, Clock::now() + m_options.connect);
    addrinfo hints {};
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    const std::string service = std::to_string(peer.port);
    Addresses addresses(nullptr, freeaddrinfo);
    addrinfo *found = nullptr;
    if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) == 0) {
        addresses.reset(found);
    } else {
        auto lookup = std::make_shared<Lookup>();
        std::thread([lookup, host, service] {
            addrinfo hints {};
            hints.ai_socktype = SOCK_STREAM;
            hints.ai_flags = AI_NUMERICSERV;
            addrinfo *result = nullptr;
            if (getaddrinfo(host.c_str(), service.c_str(), &hints, &result) != 0)
                result = nullptr;
            std::lock_guard lock(lookup->mutex);
            lookup->result = result;
            lookup->finished = true;
            lookup->done.notify_all();
        }).detach();
        std::unique_lock lock(lookup->mutex);
        // Short waits, so that an abort is seen soon without a way to wake this one.
        while (!lookup->finished && !m_aborted && Clock::now() < connectEnd)
            lookup->done.wait_for(lock, std::chrono::milliseconds(20));
        addresses.reset(std::exchange(lookup->result, nullptr));
    }
    for (addrinfo *a = addresses.get(); a; a = a->ai_next) {
        m_socket
            = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (m_socket < 0)
            continue;
        const int one = 1;
        ::setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        int error = 0;
        socklen_t length = sizeof error;
        if ((::connect(m_socket, a->ai_addr, a->ai_addrlen) == 0
             || (errno == EINPROGRESS && waitFor(POLLOUT, connectEnd)
                 && ::getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &error, &length) == 0
                 && error == 0))) {
            m_peer = peer;
            ++exchange.outcome.connects;
            return true;
        }
        closeConnection();
        if (m_aborted || Clock::now() >= connectEnd)
            break;
    }
    return false;
}

bool HttpTransfer::sendAll(std::string_view data, const Exchange &exchange)
{
    while (!data.empty()) {
        const ssize_t sent = ::send(m_socket, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            data.remove_prefix(size_t(sent));
        } else if (sent < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!waitFor(POLLOUT, std::min(exchange.end, Clock::now() + m_options.stalled)))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

long HttpTransfer::readSome(Exchange &exchange)
{
    for (;;) {
        char buffer[kReadSize];
        const ssize_t got = ::recv(m_socket, buffer, sizeof buffer, 0);
        if (got > 0) {
            m_input.append(buffer, size_t(got));
            exchange.responded = true;
            return got;
        }
        if (got == 0)
            return 0;
        if (errno != EAGAIN && errno != EINTR)
            return -1;
        if (!waitFor(POLLIN, std::min(exchange.end, Clock::now() + m_options.stalled)))
            return -1;
    }
}

bool HttpTransfer::readLine(std::string &line, Exchange &exchange)
{
    for (;;) {
        const auto newline = m_input.find('\n');
        if (newline != std::string::npos) {
            line.assign(m_input, 0, newline);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            m_input.erase(0, newline + 1);
            return true;
        }
        if (m_input.size() > kLongestLine || readSome(exchange) <= 0)
            return false;
    }
}

// The status line and headers, then the body as the headers frame it; interim (1xx) replies
// are passed over.
bool HttpTransfer::readResponse(Exchange &exchange)
{
    std::string line;
    bool http11 = true;
    for (;;) {
        if (!readLine(line, exchange) || line.size() < 12
            || !startsWithIgnoringCase(line, "HTTP/1."))
            return false;
        http11 = line[7] != '0';
        const auto status = wholeNumber<int>(std::string_view(line).substr(9, 3));
        if (!status || *status < 100)
            return false;
        exchange.outcome.status = *status;
        if (*status >= 200)
            break;
        do { // an interim reply's headers
            if (!readLine(line, exchange))
                return false;
        } while (!line.empty());
    }
    std::optional<size_t> length;
    bool chunked = false;
    bool close = !http11;
    size_t headBytes = 0;
    for (;;) {
        if (!readLine(line, exchange))
            return false;
        if (line.empty())
            break;
        headBytes += line.size();
        if (headBytes > kLongestHead)
            return false;
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string_view name(line.data(), colon);
        const std::string_view value = trimmed(std::string_view(line).substr(colon + 1));
        if (equalsIgnoringCase(name, "Content-Length")) {
            const auto n = wholeNumber<size_t>(value);
            if (!n || (length && *length != *n))
                return false;
            length = n;
        } else if (equalsIgnoringCase(name, "Transfer-Encoding")) {
            chunked = containsIgnoringCase(value, "chunked");
        } else if (equalsIgnoringCase(name, "Connection")) {
            if (containsIgnoringCase(value, "close"))
                close = true;
            else if (containsIgnoringCase(value, "keep-alive"))
                close = false;
        }
    }
    const int status = exchange.outcome.status;
    if (status == 204 || status == 304)
        length = 0;
    if (!chunked && !length)
        return readToClose(exchange);
    exchange.keepAlive = !close;
    return chunked ? readChunks(exchange) : readLength(*length, exchange);
}

bool HttpTransfer::readLength(size_t length, Exchange &exchange)
{
    while (length > 0) {
        if (m_input.empty() && readSome(exchange) <= 0)
            return false;
        const size_t take = std::min(length, m_input.size());
        const bool more = deliver(std::string_view(m_input).substr(0, take), exchange);
        m_input.erase(0, take);
        length -= take;
        if (!more)
            return false;
    }
    return true;
}

bool HttpTransfer::readChunks(Exchange &exchange)
{
    std::string line;
    for (;;) {
        if (!readLine(line, exchange))
            return false;
        size_t size = 0;
        const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), size, 16);
        if (error != std::errc() || end == line.data())
            return false;
        if (size == 0)
            break;
        if (!readLength(size, exchange) || !readLine(line, exchange) || !line.empty())
            return false;
    }
    do { // the trailer
        if (!readLine(line, exchange))
            return false;
    } while (!line.empty());
    return true;
}

bool HttpTransfer::readToClose(Exchange &exchange)
{
    for (;;) {
        const std::string piece = std::move(m_input);
        m_input.clear();
        if (!deliver(piece, exchange))
            return false;
        const long got = readSome(exchange);
        if (got == 0)
            return true;
        if (got < 0)
            return false;
    }
}

bool HttpTransfer::deliver(std::string_view piece, Exchange &exchange)
{
    if (!piece.empty() && !exchange.onData(piece)) {
        exchange.cut = true;
        return false;
    }
    return true;
}

HttpTransfer::Outcome HttpTransfer::get(const std::string &url, std::chrono::milliseconds deadline,
                                        const std::function<bool(std::string_view)> &onData)
{
    Exchange exchange {Clock::now() + deadline, onData, {}};
    const auto parsed = parseUrl(url);
    if (m_wake < 0 || m_aborted || deadline.count() <= 0 || !parsed)
        return exchange.outcome;
    const auto proxy = environmentProxy(parsed->server.host);
    const ServerAddress &peer = proxy ? *proxy : parsed->server;
    const std::string authority = authorityOf(parsed->server);
    std::string request = "GET " + (proxy ? "http://" + authority : std::string()) + parsed->target
        + " HTTP/1.1\r\nHost: " + authority + "\r\nUser-Agent: " + m_options.userAgent
        + "\r\nAccept: */*\r\n";
    if (!m_options.referer.empty())
        request += "Referer: " + m_options.referer + "\r\n";
    request += "\r\n";

    // A kept-alive connection the server closed meanwhile gets one more try on a new one, as
    // long as nothing of the reply has come.
    bool answered = false;
    for (int attempt = 0; attempt < 2 && !answered; ++attempt) {
        const bool reused = m_socket >= 0 && m_peer == peer && m_input.empty() && usable();
        if (!reused && !open(peer, exchange))
            break;
        exchange.responded = false;
        answered = sendAll(request, exchange) && readResponse(exchange);
        if (answered || exchange.responded || exchange.cut || !reused || m_aborted)
            break;
        closeConnection();
    }
    if (!answered || !exchange.keepAlive || !m_input.empty())
        closeConnection();
    if (m_aborted)
        exchange.outcome.ending = Ending::Aborted;
    else if (answered)
        exchange.outcome.ending = Ending::Done;
    else if (exchange.cut)
        exchange.outcome.ending = Ending::Cut;
    return exchange.outcome;
}

} // namespace lark
