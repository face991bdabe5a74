#include "quoteserver/connection_stream.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

namespace lark::sim {
namespace {

constexpr size_t kMaxRequestLine = 8192;
constexpr size_t kReadSize = 4096;

void addressText(const sockaddr_storage &address, std::string &ip, int &port)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        const auto &a = reinterpret_cast<const sockaddr_in &>(address);
        inet_ntop(AF_INET, &a.sin_addr, text, sizeof text);
        port = ntohs(a.sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto &a = reinterpret_cast<const sockaddr_in6 &>(address);
        inet_ntop(AF_INET6, &a.sin6_addr, text, sizeof text);
        port = ntohs(a.sin6_port);
    }
    ip = text;
}

} // namespace

ConnectionStream::ConnectionStream(socket_t sock, int stopFd, Timeouts timeouts)
    : sock_(sock)
    , stopFd_(stopFd)
    , timeouts_(timeouts)
{ }

// Sleeps until the socket is ready, the time is up or the server stops: an idle keep-alive
// connection costs no wake-ups.
bool ConnectionStream::waitFor(short events, int timeoutMs) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fds[] {{sock_, events, 0}, {stopFd_, POLLIN, 0}};
        const int rc = ::poll(fds, 2, static_cast<int>(std::max<int64_t>(left.count(), 0)));
        if (rc > 0)
            return fds[1].revents == 0;
        if (rc == 0 || errno != EINTR)
            return false;
    }
}

ssize_t ConnectionStream::fill()
{
    if (!waitFor(POLLIN, timeouts_.readMs))
        return -1;
    char chunk[kReadSize];
    ssize_t n;
    do
        n = ::recv(sock_, chunk, sizeof chunk, 0);
    while (n < 0 && errno == EINTR);
    if (n > 0)
        buffer_.append(chunk, static_cast<size_t>(n));
    return n;
}

bool ConnectionStream::waitForRequest(int timeoutMs)
{
    return position_ < buffer_.size() || waitFor(POLLIN, timeoutMs);
}

void ConnectionStream::takeRequestLine()
{
    buffer_.erase(0, position_);
    position_ = 0;
    while (buffer_.find('\n') == std::string::npos && buffer_.size() < kMaxRequestLine) {
        if (fill() <= 0)
            break;
    }
    rawTarget_.clear();
    const size_t end = std::min(buffer_.find('\n'), buffer_.size());
    const size_t first = buffer_.find(' ');
    const size_t second = first < end ? buffer_.find(' ', first + 1) : std::string::npos;
    if (second >= end)
        return; // not a request line; httplib will answer 400
    rawTarget_ = buffer_.substr(first + 1, second - first - 1);
    const size_t mark = rawTarget_.find('?');
    std::string escaped = rawTarget_.substr(0, mark + (mark != std::string::npos));
    for (size_t i = escaped.size(); i < rawTarget_.size(); ++i)
        escaped += rawTarget_[i] == '?' ? std::string("%3F") : std::string(1, rawTarget_[i]);
    buffer_.replace(first + 1, second - first - 1, escaped);
}

bool ConnectionStream::is_readable() const
{
    return position_ < buffer_.size() || waitFor(POLLIN, timeouts_.readMs);
}

bool ConnectionStream::is_writable() const
{
    return !abandoned_ && waitFor(POLLOUT, timeouts_.writeMs);
}

ssize_t ConnectionStream::read(char *ptr, size_t size)
{
    if (atRequestLine_) {
        atRequestLine_ = false;
        takeRequestLine();
    }
    if (position_ == buffer_.size()) {
        buffer_.clear();
        position_ = 0;
        if (const ssize_t n = fill(); n <= 0)
            return n;
    }
    const size_t n = std::min(size, buffer_.size() - position_);
    buffer_.copy(ptr, n, position_);
    position_ += n;
    return static_cast<ssize_t>(n);
}

ssize_t ConnectionStream::write(const char *ptr, size_t size)
{
    size_t sent = 0;
    while (sent < size) {
        if (abandoned_ || !waitFor(POLLOUT, timeouts_.writeMs))
            return -1;
        const ssize_t n = ::send(sock_, ptr + sent, size - sent, MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return -1;
        sent += n > 0 ? static_cast<size_t>(n) : 0;
    }
    return static_cast<ssize_t>(sent);
}

void ConnectionStream::get_remote_ip_and_port(std::string &ip, int &port) const
{
    sockaddr_storage address {};
    socklen_t length = sizeof address;
    if (::getpeername(sock_, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        addressText(address, ip, port);
}

void ConnectionStream::get_local_ip_and_port(std::string &ip, int &port) const
{
    sockaddr_storage address {};
    socklen_t length = sizeof address;
    if (::getsockname(sock_, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        addressText(address, ip, port);
}

} // namespace lark::sim
