#pragma once

#include "quoteserver/http/connection_loop.h"

#include <httplib.h>

#include <string>

namespace lark::quoteserver {

// What httplib reads and writes for one request of a connection: the request as it arrived,
// whole, and the reply gathered for the connection loop to send. httplib answers 400 to any
// target holding a second '?', and every quote query has one, so every '?' after the first
// one in the target becomes "%3F" and the target as received is kept for the handlers.
class ConnectionStream final : public httplib::Stream
{
public:
    explicit ConnectionStream(ReceivedRequest request);

    const std::string &rawTarget() const { return m_rawTarget; }
    const std::string &reply() const { return m_reply; }

    // Discards everything written from now on.
    void abandon() { m_abandoned = true; }
    bool abandoned() const { return m_abandoned; }

    bool is_readable() const override { return m_position < m_request.bytes.size(); }
    bool is_writable() const override { return !m_abandoned; }
    ssize_t read(char *ptr, size_t size) override;
    ssize_t write(const char *ptr, size_t size) override;
    void get_remote_ip_and_port(std::string &ip, int &port) const override;
    void get_local_ip_and_port(std::string &ip, int &port) const override;
    socket_t socket() const override { return INVALID_SOCKET; }

private:
    void escapeLaterQuestionMarks();

    ReceivedRequest m_request;
    size_t m_position = 0;
    std::string m_rawTarget;
    std::string m_reply;
    bool m_abandoned = false;
};

} // namespace lark::quoteserver
