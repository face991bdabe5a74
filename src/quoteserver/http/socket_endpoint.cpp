#include "quoteserver/http/socket_endpoint.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace lark::quoteserver {
namespace {

Endpoint endpointOf(const sockaddr_storage &address)
{
    Endpoint endpoint;
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        const auto &a = reinterpret_cast<const sockaddr_in &>(address);
        inet_ntop(AF_INET, &a.sin_addr, text, sizeof text);
        endpoint.port = ntohs(a.sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto &a = reinterpret_cast<const sockaddr_in6 &>(address);
        inet_ntop(AF_INET6, &a.sin6_addr, text, sizeof text);
        endpoint.port = ntohs(a.sin6_port);
    }
    endpoint.ip = text;
    return endpoint;
}

template<typename Call>
Endpoint endpoint(int socket, Call call)
{
    sockaddr_storage address {};
    socklen_t length = sizeof address;
    return call(socket, reinterpret_cast<sockaddr *>(&address), &length) == 0 ? endpointOf(address)
                                                                              : Endpoint {};
}

} // namespace

Endpoint remoteEndpoint(int socket)
{
    return endpoint(socket, ::getpeername);
}

Endpoint localEndpoint(int socket)
{
    return endpoint(socket, ::getsockname);
}

} // namespace lark::quoteserver
