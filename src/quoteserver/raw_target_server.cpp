#include "quoteserver/raw_target_server.h"

#include "quoteserver/connection_stream.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <system_error>

namespace lark::sim {
namespace {

// Idle keep-alive connections hold a worker each; leave room for a client's several sessions.
constexpr size_t kWorkers = 16;

thread_local ConnectionStream *currentConnection = nullptr;

} // namespace

RawTargetServer::RawTargetServer()
    : stopFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (stopFd_ < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
    new_task_queue = [] { return new httplib::ThreadPool(kWorkers); };
    // httplib's default adds SO_REUSEPORT, which lets a second server bind a port in use.
    set_socket_options([](socket_t sock) {
        const int on = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    });
}

RawTargetServer::~RawTargetServer()
{
    ::close(stopFd_);
}

void RawTargetServer::stopServing()
{
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(stopFd_, &one, sizeof one);
    stop();
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

bool RawTargetServer::process_and_close_socket(socket_t sock)
{
    const int on = 1;
    ::setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    const ConnectionStream::Timeouts timeouts {
        static_cast<int>(read_timeout_sec_ * 1000 + read_timeout_usec_ / 1000),
        static_cast<int>(write_timeout_sec_ * 1000 + write_timeout_usec_ / 1000)};
    ConnectionStream stream(sock, stopFd_, timeouts);
    currentConnection = &stream;
    const auto setup = [&stream](httplib::Request &req) {
        if (!stream.rawTarget().empty())
            req.target = stream.rawTarget();
        // Replies go out byte for byte as built, never compressed.
        req.headers.erase("Accept-Encoding");
    };
    for (size_t left = keep_alive_max_count_; left > 0; --left) {
        if (!stream.waitForRequest(static_cast<int>(keep_alive_timeout_sec_ * 1000)))
            break;
        stream.expectRequestLine();
        bool closed = false;
        if (!process_request(stream, left == 1, closed, setup) || closed || stream.abandoned())
            break;
    }
    currentConnection = nullptr;
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return true;
}

} // namespace lark::sim
