#include "protocol/server_address.h"

#include "base/whole_number.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>

namespace lark {
namespace {

bool isAddress(int family, const std::string &text)
{
    unsigned char bytes[16];
    return inet_pton(family, text.c_str(), bytes) == 1;
}

// RFC 1123 host name: dot-separated labels of letters, digits and inner hyphens, 63 characters
// at most each, 253 in all; one final dot allowed.
bool isDnsName(std::string_view name)
{
    if (name.ends_with('.'))
        name.remove_suffix(1);
    if (name.empty() || name.size() > 253)
        return false;
    for (size_t start = 0; start <= name.size();) {
        const size_t end = std::min(name.find('.', start), name.size());
        const std::string_view label = name.substr(start, end - start);
        const bool fits = !label.empty() && label.size() <= 63 && label.front() != '-'
            && label.back() != '-' && std::all_of(label.begin(), label.end(), [](char c) {
                   return std::isalnum(static_cast<unsigned char>(c)) || c == '-';
               });
        if (!fits)
            return false;
        start = end + 1;
    }
    return true;
}

// A text of digits and dots is an IPv4 address or nothing, never a name.
bool isHost(const std::string &host)
{
    const bool numeric = std::all_of(host.begin(), host.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) || c == '.';
    });
    return numeric ? isAddress(AF_INET, host) : isDnsName(host);
}

std::optional<int> parsePort(std::string_view text)
{
    const auto port = wholeNumber<int>(text);
    if (!port || *port < 1 || *port > 65535)
        return std::nullopt;
    return port;
}

} // namespace

std::string ServerAddress::urlHost() const
{
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

std::string ServerAddress::baseUrl() const
{
    return "http://" + urlHost() + ":" + std::to_string(port);
}

std::optional<ServerAddress> parseServerAddress(std::string_view text, int defaultPort)
{
    ServerAddress address;
    address.port = defaultPort;
    std::string_view rest;
    bool bracketed = text.starts_with('[');
    if (bracketed) {
        const size_t close = text.find(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        address.host = std::string(text.substr(1, close - 1));
        rest = text.substr(close + 1);
    } else {
        const size_t colon = text.find(':');
        address.host = std::string(text.substr(0, colon));
        rest = colon == std::string_view::npos ? std::string_view() : text.substr(colon);
    }
    if (bracketed ? !isAddress(AF_INET6, address.host) : !isHost(address.host))
        return std::nullopt;
    if (!rest.empty()) {
        const auto port = rest.front() == ':' ? parsePort(rest.substr(1)) : std::nullopt;
        if (!port)
            return std::nullopt;
        address.port = *port;
    }
    return address;
}

} // namespace lark
