#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lark {

struct ServerAddress
{
    std::string host;
    int port = 80;

    // "http://host:port"
    std::string baseUrl() const;
    bool operator==(const ServerAddress &) const = default;
};

// "HOST[:PORT]", port 80 when omitted; nullopt for an empty host or a bad port.
std::optional<ServerAddress> parseServerAddress(std::string_view text);

} // namespace lark
