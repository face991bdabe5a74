#include "quoteserver/http/connection_stream.h"

#include <algorithm>

namespace lark::quoteserver {

ConnectionStream::ConnectionStream(ReceivedRequest request)
    : m_request(std::move(request))
{
    escapeLaterQuestionMarks();
}

void ConnectionStream::escapeLaterQuestionMarks()
{
    std::string &bytes = m_request.bytes;
    const size_t end = std::min(bytes.find('\n'), bytes.size());
    const size_t first = bytes.find(' ');
    const size_t second = first < end ? bytes.find(' ', first + 1) : std::string::npos;
    if (second >= end)
        return; // not a request line; httplib will answer 400
    m_rawTarget = bytes.substr(first + 1, second - first - 1);
    const size_t mark = m_rawTarget.find('?');
    std::string escaped = m_rawTarget.substr(0, mark + (mark != std::string::npos));
    for (size_t i = escaped.size(); i < m_rawTarget.size(); ++i)
        escaped += m_rawTarget[i] == '?' ? std::string("%3F") : std::string(1, m_rawTarget[i]);
    bytes.replace(first + 1, second - first - 1, escaped);
}

ssize_t ConnectionStream::read(char *ptr, size_t size)
{
    const size_t n = std::min(size, m_request.bytes.size() - m_position);
    m_request.bytes.copy(ptr, n, m_position);
    m_position += n;
    return static_cast<ssize_t>(n);
}

ssize_t ConnectionStream::write(const char *ptr, size_t size)
{
    if (m_abandoned)
        return -1;
    m_reply.append(ptr, size);
    return static_cast<ssize_t>(size);
}

void ConnectionStream::get_remote_ip_and_port(std::string &ip, int &port) const
{
    ip = m_request.remote.ip;
    port = m_request.remote.port;
}

void ConnectionStream::get_local_ip_and_port(std::string &ip, int &port) const
{
    ip = m_request.local.ip;
    port = m_request.local.port;
}

} // namespace lark::quoteserver
