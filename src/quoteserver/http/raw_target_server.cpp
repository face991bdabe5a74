#include "quoteserver/http/raw_target_server.h"

#include "quoteserver/http/connection_stream.h"
#include "quoteserver/http/current_client.h"
#include "quoteserver/http/socket_endpoint.h"

#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lark::quoteserver {
namespace {

thread_local ConnectionStream *currentConnection = nullptr;

// Requests of one client waiting for a worker; more are refused at once.
constexpr size_t kWaitingPerClient = 16;
const char *const kBusyReply = "HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\n"
                               "Connection: close\r\n\r\n";

int listeningSocket(const addrinfo &address)
{
    const int sock = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                              address.ai_protocol);
    if (sock < 0)
        return -1;
    // Not SO_REUSEPORT, which would let a second server bind a port in use.
    const int on = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(sock, address.ai_addr, address.ai_addrlen) == 0 && ::listen(sock, SOMAXCONN) == 0)
        return sock;
    ::close(sock);
    return -1;
}

} // namespace

RawTargetServer::RawTargetServer(size_t workers, LoopLimits limits)
    : m_loop(limits,
             [this](ReceivedRequest request) {
                 if (!m_pool) {
                     answer(std::move(request));
                     return;
                 }
                 const uint64_t connection = request.connection;
                 const std::string client = request.client;
                 auto job = std::make_shared<ReceivedRequest>(std::move(request));
                 if (!m_pool->push(client, [this, job] { answer(std::move(*job)); }))
                     m_loop.reply(connection, kBusyReply, true);
             })
    , m_workers(workers)
{
    set_keep_alive_timeout(std::chrono::duration_cast<std::chrono::seconds>(limits.idle).count());
}

RawTargetServer::~RawTargetServer()
{
    stopServing();
    if (m_listener >= 0)
        ::close(m_listener);
}

int RawTargetServer::bind(const std::string &host, int port)
{
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo *found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return -1;
    for (addrinfo *a = found; a && m_listener < 0; a = a->ai_next)
        m_listener = listeningSocket(*a);
    ::freeaddrinfo(found);
    // httplib streams a reply from a content provider (the chunked stock lists, the drop
    // fault) only while it has a server socket.
    svr_sock_ = m_listener;
    const int bound = m_listener < 0 ? 0 : localEndpoint(m_listener).port;
    return bound > 0 ? bound : -1;
}

void RawTargetServer::serve()
{
    if (m_workers > 0)
        m_pool = std::make_unique<FairQueue>(m_workers, kWaitingPerClient);
    m_loop.run(m_listener);
    ::close(m_listener); // the port is free again at once
    m_listener = -1;
    if (m_pool)
        m_pool->shutdown(); // answers under way finish; their replies go nowhere
}

void RawTargetServer::stopServing()
{
    svr_sock_ = INVALID_SOCKET; // a reply still streaming ends
    m_loop.stop();
}

void RawTargetServer::dropCurrentConnection()
{
    if (currentConnection)
        currentConnection->abandon();
}

void RawTargetServer::warmUp(const std::string &target)
{
    httplib::detail::BufferStream stream;
    const std::string request = "GET " + target + " HTTP/1.1\r\nHost: localhost\r\n\r\n";
    stream.write(request.data(), request.size());
    bool closed = false;
    process_request(stream, true, closed, nullptr);
}

void RawTargetServer::answer(ReceivedRequest request)
{
    const uint64_t connection = request.connection;
    const ClientScope client(request.client);
    ConnectionStream stream(std::move(request));
    currentConnection = &stream;
    const auto setup = [&stream](httplib::Request &req) {
        if (!stream.rawTarget().empty())
            req.target = stream.rawTarget();
        // Replies go out byte for byte as built, never compressed.
        req.headers.erase("Accept-Encoding");
    };
    bool closed = false;
    const bool whole = process_request(stream, false, closed, setup);
    currentConnection = nullptr;
    m_loop.reply(connection, stream.abandoned() ? std::string() : stream.reply(),
                 closed || !whole || stream.abandoned());
}

} // namespace lark::quoteserver
