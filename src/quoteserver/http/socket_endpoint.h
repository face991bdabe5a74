#pragma once

#include <string>

namespace lark::quoteserver {

// One end of a TCP connection, as text for httplib.
struct Endpoint
{
    std::string ip;
    int port = 0;
};

Endpoint remoteEndpoint(int socket);
Endpoint localEndpoint(int socket);

} // namespace lark::quoteserver
