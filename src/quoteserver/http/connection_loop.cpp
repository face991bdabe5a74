#include "quoteserver/http/connection_loop.h"

#include "quoteserver/http/peer_user.h"
#include "quoteserver/http/request_framing.h"
#include "quoteserver/http/socket_endpoint.h"

#include <algorithm>
#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <stdexcept>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lark::quoteserver {
namespace {

constexpr uint64_t kStopId = 0;
constexpr uint64_t kWakeId = 1;
constexpr uint64_t kListenerId = 2;
constexpr size_t kReadSize = 16 * 1024;

void signal(int eventFd)
{
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(eventFd, &one, sizeof one);
}

} // namespace

ConnectionLoop::ConnectionLoop(LoopLimits limits, Handler handler)
    : m_limits(limits)
    , m_handler(std::move(handler))
    , m_epoll(::epoll_create1(EPOLL_CLOEXEC))
    , m_stop(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
    , m_wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
    , m_nextId(kListenerId + 1)
{
    if (m_epoll < 0 || m_stop < 0 || m_wake < 0)
        throw std::runtime_error("cannot set up the connection loop");
    watch(m_stop, kStopId, EPOLLIN, EPOLL_CTL_ADD);
    watch(m_wake, kWakeId, EPOLLIN, EPOLL_CTL_ADD);
}

ConnectionLoop::~ConnectionLoop()
{
    closeAll();
    for (int fd : {m_epoll, m_stop, m_wake})
        ::close(fd);
}

void ConnectionLoop::stop()
{
    signal(m_stop);
}

void ConnectionLoop::reply(uint64_t connection, std::string bytes, bool close)
{
    {
        std::lock_guard lock(m_repliesMutex);
        m_replies.emplace_back(connection, std::move(bytes), close);
    }
    signal(m_wake);
}

void ConnectionLoop::run(int listener)
{
    m_listener = listener;
    watch(m_listener, kListenerId, EPOLLIN, EPOLL_CTL_ADD);
    epoll_event events[64];
    for (;;) {
        const int n = ::epoll_wait(m_epoll, events, 64, millisecondsToNextDeadline());
        for (int i = 0; i < n; ++i) {
            if (events[i].data.u64 == kStopId) {
                closeAll();
                return;
            }
            handleEvent(events[i].data.u64, events[i].events);
        }
        closeOverdue();
    }
}

void ConnectionLoop::handleEvent(uint64_t id, uint32_t events)
{
    if (id == kWakeId) {
        uint64_t count;
        [[maybe_unused]] const ssize_t got = ::read(m_wake, &count, sizeof count);
        takeReplies();
    } else if (id == kListenerId) {
        acceptAll();
    } else if (auto it = m_connections.find(id); it != m_connections.end()) {
        if (events & (EPOLLERR | EPOLLHUP))
            close(id); // a reply on its way is dropped when it comes
        else if (it->second.state == State::Writing)
            writeTo(id);
        else if (it->second.state == State::Reading)
            readFrom(id);
    }
}

void ConnectionLoop::acceptAll()
{
    for (;;) {
        const int socket = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (socket >= 0) {
            admit(socket);
        } else if (errno == EMFILE || errno == ENFILE) {
            if (!evictLongestWaiting()) {
                watch(m_listener, kListenerId, 0, EPOLL_CTL_DEL);
                m_listenerPaused = true;
                return;
            }
        } else if (errno != EINTR && errno != ECONNABORTED) {
            return; // EAGAIN: none left
        }
    }
}

void ConnectionLoop::admit(int socket)
{
    if (m_connections.size() >= m_limits.connections && !evictLongestWaiting()) {
        ::close(socket);
        return;
    }
    Connection connection;
    connection.remote = remoteEndpoint(socket);
    connection.local = localEndpoint(socket);
    const auto user = loopbackPeerUser(connection.remote, connection.local);
    if (m_limits.ownUserOnly && user != ::geteuid()) {
        ::close(socket);
        return;
    }
    connection.client = user ? "user " + std::to_string(*user) : connection.remote.ip;
    const int on = 1;
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    connection.socket = socket;
    connection.deadline = Clock::now() + m_limits.idle;
    const uint64_t id = m_nextId++;
    m_connections.emplace(id, std::move(connection));
    watch(socket, id, EPOLLIN, EPOLL_CTL_ADD);
}

// The connection waiting for its client longest gives way; one being answered never does.
bool ConnectionLoop::evictLongestWaiting()
{
    auto longest = m_connections.end();
    for (auto it = m_connections.begin(); it != m_connections.end(); ++it) {
        if (it->second.state == State::Reading
            && (longest == m_connections.end() || it->second.deadline < longest->second.deadline))
            longest = it;
    }
    if (longest == m_connections.end())
        return false;
    close(longest->first);
    return true;
}

void ConnectionLoop::readFrom(uint64_t id)
{
    Connection &c = m_connections.at(id);
    char chunk[kReadSize];
    for (;;) {
        const ssize_t n = ::recv(c.socket, chunk, sizeof chunk, 0);
        if (n > 0) {
            if (c.in.empty())
                c.deadline = Clock::now() + m_limits.request;
            c.in.append(chunk, static_cast<size_t>(n));
            if (c.in.size() > kMaxRequestBytes)
                break;
        } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
            close(id);
            return;
        } else if (errno == EAGAIN) {
            break;
        }
    }
    dispatchIfWhole(id);
}

void ConnectionLoop::dispatchIfWhole(uint64_t id)
{
    Connection &c = m_connections.at(id);
    const size_t length = wholeRequestLength(c.in);
    if (length == kNeverWhole) {
        close(id);
        return;
    }
    if (length == 0)
        return;
    ReceivedRequest request {id, c.in.substr(0, length), c.remote, c.local, c.client};
    c.in.erase(0, length);
    c.state = State::Answering;
    c.deadline = Clock::time_point::max();
    watch(c.socket, id, 0, EPOLL_CTL_MOD);
    m_handler(std::move(request));
}

void ConnectionLoop::takeReplies()
{
    std::vector<std::tuple<uint64_t, std::string, bool>> replies;
    {
        std::lock_guard lock(m_repliesMutex);
        replies.swap(m_replies);
    }
    for (auto &[id, bytes, closeAfter] : replies) {
        auto it = m_connections.find(id);
        if (it == m_connections.end() || it->second.state != State::Answering)
            continue;
        Connection &c = it->second;
        c.state = State::Writing;
        c.out = std::move(bytes);
        c.sent = 0;
        c.closeAfterReply = closeAfter;
        c.deadline = Clock::now() + m_limits.reply;
        writeTo(id);
    }
}

void ConnectionLoop::writeTo(uint64_t id)
{
    Connection &c = m_connections.at(id);
    while (c.sent < c.out.size()) {
        const ssize_t n
            = ::send(c.socket, c.out.data() + c.sent, c.out.size() - c.sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EAGAIN) {
            watch(c.socket, id, EPOLLOUT, EPOLL_CTL_MOD);
            return;
        }
        if (n < 0 && errno != EINTR) {
            close(id);
            return;
        }
        c.sent += n > 0 ? static_cast<size_t>(n) : 0;
    }
    if (c.closeAfterReply) {
        close(id);
        return;
    }
    c.out.clear();
    c.state = State::Reading;
    c.deadline = Clock::now() + (c.in.empty() ? m_limits.idle : m_limits.request);
    watch(c.socket, id, EPOLLIN, EPOLL_CTL_MOD);
    dispatchIfWhole(id); // a request that came on the heels of the last one
}

void ConnectionLoop::closeOverdue()
{
    const auto now = Clock::now();
    std::vector<uint64_t> overdue;
    for (const auto &[id, connection] : m_connections) {
        if (connection.deadline <= now)
            overdue.push_back(id);
    }
    for (uint64_t id : overdue)
        close(id);
}

void ConnectionLoop::closeAll()
{
    for (const auto &[id, connection] : m_connections)
        ::close(connection.socket);
    m_connections.clear();
}

void ConnectionLoop::close(uint64_t id)
{
    auto it = m_connections.find(id);
    ::close(it->second.socket); // also takes it out of the epoll set
    m_connections.erase(it);
    if (m_listenerPaused) {
        m_listenerPaused = false;
        watch(m_listener, kListenerId, EPOLLIN, EPOLL_CTL_ADD);
    }
}

void ConnectionLoop::watch(int fd, uint64_t id, uint32_t events, int operation)
{
    epoll_event event {};
    event.events = events;
    event.data.u64 = id;
    ::epoll_ctl(m_epoll, operation, fd, &event);
}

int ConnectionLoop::millisecondsToNextDeadline() const
{
    auto next = Clock::time_point::max();
    for (const auto &[id, connection] : m_connections)
        next = std::min(next, connection.deadline);
    if (next == Clock::time_point::max())
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
    return static_cast<int>(std::clamp<int64_t>(left, 0, 60'000));
}

} // namespace lark::quoteserver
