#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lark {

struct ServerAddress
{
    std::string host;
    int port = 80;

    // The host as a URL writes it: an IPv6 address in brackets.
    std::string urlHost() const;
    // "http://host:port"
    std::string baseUrl() const;
    bool operator==(const ServerAddress &) const = default;
};

// "HOST[:PORT]", defaultPort when the port is omitted. HOST is a DNS name, an IPv4 address or an
// IPv6 address in brackets; PORT 1 to 65535. nullopt for anything else.
std::optional<ServerAddress> parseServerAddress(std::string_view text, int defaultPort = 80);

} // namespace lark
