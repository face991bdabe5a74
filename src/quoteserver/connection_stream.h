#pragma once

#include <httplib.h>

#include <string>

namespace lark::sim {

// A socket stream for httplib that rewrites the request line of each request:
// every '?' after the first one in the target becomes "%3F", and the target as
// received is kept for the handlers.
class ConnectionStream final : public httplib::Stream
{
public:
    struct Timeouts
    {
        int readMs = 5000;
        int writeMs = 5000;
    };

    // stopFd becomes readable when the server stops; every wait then ends at once.
    ConnectionStream(socket_t sock, int stopFd, Timeouts timeouts);

    // Waits up to timeoutMs for the next request to begin; false when none comes.
    bool waitForRequest(int timeoutMs);
    // The next read starts a request line.
    void expectRequestLine() { atRequestLine_ = true; }
    const std::string &rawTarget() const { return rawTarget_; }

    // Discards everything written from now on.
    void abandon() { abandoned_ = true; }
    bool abandoned() const { return abandoned_; }

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char *ptr, size_t size) override;
    ssize_t write(const char *ptr, size_t size) override;
    void get_remote_ip_and_port(std::string &ip, int &port) const override;
    void get_local_ip_and_port(std::string &ip, int &port) const override;
    socket_t socket() const override { return sock_; }

private:
    bool waitFor(short events, int timeoutMs) const;
    ssize_t fill();
    void takeRequestLine();

    socket_t sock_;
    int stopFd_;
    Timeouts timeouts_;
    std::string buffer_;
    size_t position_ = 0;
    bool atRequestLine_ = false;
    bool abandoned_ = false;
    std::string rawTarget_;
};

} // namespace lark::sim
