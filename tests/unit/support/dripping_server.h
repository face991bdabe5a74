#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace lark::test {

// A loopback server that accepts and then drips its answer to each request one byte per
// interval, fast enough never to count as stalled; with no interval it never answers at all.
class DrippingServer
{
public:
    explicit DrippingServer(std::chrono::milliseconds interval = std::chrono::milliseconds(0))
        : m_interval(interval)
        , m_listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0))
        , m_stop(::eventfd(0, EFD_CLOEXEC))
    {
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), length);
        ::listen(m_listener, 64);
        ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { run(); });
    }
    ~DrippingServer()
    {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(m_stop, &one, sizeof one);
        m_thread.join();
        for (const auto &[fd, sent] : m_sent)
            ::close(fd);
        ::close(m_listener);
        ::close(m_stop);
    }
    DrippingServer(const DrippingServer &) = delete;
    DrippingServer &operator=(const DrippingServer &) = delete;

    int port() const { return m_port; }

private:
    static constexpr std::string_view kReply = "HTTP/1.1 200 OK\r\nContent-Length: 97\r\n\r\n";

    void run()
    {
        const int waitMs = m_interval.count() > 0 ? static_cast<int>(m_interval.count()) : -1;
        for (;;) {
            std::vector<pollfd> fds {{m_stop, POLLIN, 0}, {m_listener, POLLIN, 0}};
            for (const auto &[fd, sent] : m_sent)
                fds.push_back({fd, POLLIN, 0});
            ::poll(fds.data(), fds.size(), waitMs);
            if (fds[0].revents)
                return;
            if (fds[1].revents)
                m_sent[::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC)] = -1;
            for (size_t i = 2; i < fds.size(); ++i) {
                char discard[4096];
                if (!fds[i].revents)
                    continue;
                if (::recv(fds[i].fd, discard, sizeof discard, 0) > 0) {
                    m_sent[fds[i].fd] = std::max<ptrdiff_t>(m_sent[fds[i].fd], 0);
                } else {
                    ::close(fds[i].fd);
                    m_sent.erase(fds[i].fd);
                }
            }
            if (waitMs > 0)
                dripOneByteEach();
        }
    }

    void dripOneByteEach()
    {
        for (auto &[fd, sent] : m_sent) {
            if (sent < 0)
                continue;
            const char byte = sent < ptrdiff_t(kReply.size()) ? kReply[sent] : '\0';
            if (::send(fd, &byte, 1, MSG_NOSIGNAL) == 1)
                ++sent;
        }
    }

    std::chrono::milliseconds m_interval;
    int m_listener;
    int m_stop;
    int m_port = 0;
    std::map<int, ptrdiff_t> m_sent; // socket, bytes dripped so far (-1: no request yet)
    std::thread m_thread;
};

} // namespace lark::test
