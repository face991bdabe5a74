#pragma once

// A tiny HTTP/1.1 server on loopback for the session tests: it records each request line and
// answers every request with one fixed body, written in pieces with a pause between them. Set
// as http_proxy it stands for a proxy, and its request lines show what went through it. Told
// so, it writes the pieces as they are, status line and headers included, and may close the
// connection after each answer.

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace lark::test {

class ScriptedHttpServer
{
public:
    enum class Answer { BodyWithLength, AsWritten, AsWrittenThenClose };

    explicit ScriptedHttpServer(std::vector<std::string> pieces,
                                std::chrono::milliseconds gap = std::chrono::milliseconds(0),
                                Answer answer = Answer::BodyWithLength)
        : m_pieces(std::move(pieces))
        , m_gap(gap)
        , m_answer(answer)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), length) != 0
            || ::listen(m_listener, 4) != 0
            || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            throw std::runtime_error("scripted server: cannot listen");
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }

    ~ScriptedHttpServer()
    {
        m_stop = true;
        ::shutdown(m_listener, SHUT_RDWR); // wakes accept()
        {
            std::lock_guard lock(m_mutex);
            if (m_connection >= 0)
                ::shutdown(m_connection, SHUT_RDWR); // wakes recv()
        }
        m_thread.join();
        ::close(m_listener);
    }

    int port() const { return m_port; }
    std::string address() const { return "127.0.0.1:" + std::to_string(m_port); }

    std::vector<std::string> requestLines() const
    {
        std::lock_guard lock(m_mutex);
        return m_requestLines;
    }

private:
    void serve()
    {
        while (!m_stop) {
            const int connection = ::accept(m_listener, nullptr, nullptr);
            if (connection < 0)
                continue;
            const int on = 1;
            ::setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            bool serving = false;
            {
                std::lock_guard lock(m_mutex);
                serving = !m_stop;
                m_connection = serving ? connection : -1;
            }
            if (serving)
                answerRequests(connection);
            {
                std::lock_guard lock(m_mutex);
                m_connection = -1;
            }
            ::close(connection);
        }
    }

    // Every request on a kept-alive connection, until the client closes it.
    void answerRequests(int connection)
    {
        std::string received;
        char buffer[4096];
        for (;;) {
            const size_t end = received.find("\r\n\r\n");
            if (end == std::string::npos) {
                const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
                if (n <= 0)
                    return;
                received.append(buffer, size_t(n));
                continue;
            }
            {
                std::lock_guard lock(m_mutex);
                m_requestLines.push_back(received.substr(0, received.find("\r\n")));
            }
            received.erase(0, end + 4);
            if (!answer(connection))
                return;
        }
    }

    bool answer(int connection)
    {
        size_t length = 0;
        for (const std::string &piece : m_pieces)
            length += piece.size();
        std::string head = m_answer != Answer::BodyWithLength
            ? std::string()
            : "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(length) + "\r\n\r\n";
        for (size_t i = 0; i < m_pieces.size(); ++i) {
            if (i > 0)
                std::this_thread::sleep_for(m_gap);
            const std::string out = (i == 0 ? head : std::string()) + m_pieces[i];
            if (::send(connection, out.data(), out.size(), MSG_NOSIGNAL) != ssize_t(out.size()))
                return false;
        }
        return m_answer != Answer::AsWrittenThenClose;
    }

    const std::vector<std::string> m_pieces;
    const std::chrono::milliseconds m_gap;
    const Answer m_answer;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop {false};
    mutable std::mutex m_mutex;
    int m_connection = -1;
    std::vector<std::string> m_requestLines;
    std::thread m_thread;
};

} // namespace lark::test
