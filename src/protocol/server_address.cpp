#include "protocol/server_address.h"

#include <charconv>

namespace lark {

std::string ServerAddress::baseUrl() const
{
    bool ipv6 = host.find(':') != std::string::npos;
    std::string h = ipv6 ? "[" + host + "]" : host;
    return "http://" + h + ":" + std::to_string(port);
}

std::optional<ServerAddress> parseServerAddress(std::string_view text)
{
    ServerAddress address;
    std::string_view host = text;
    std::string_view port;
    if (text.starts_with('[')) {
        auto close = text.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        host = text.substr(1, close - 1);
        std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':')
                return std::nullopt;
            port = rest.substr(1);
        }
    } else if (auto colon = text.rfind(':'); colon != std::string_view::npos) {
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (host.empty())
        return std::nullopt;
    address.host = std::string(host);
    if (!port.empty()) {
        auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), address.port);
        if (ec != std::errc() || end != port.data() + port.size() || address.port < 1
            || address.port > 65535)
            return std::nullopt;
    }
    return address;
}

} // namespace lark
