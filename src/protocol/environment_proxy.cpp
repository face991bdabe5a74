#include "protocol/environment_proxy.h"

#include "base/ascii_text.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <string_view>

namespace lark {
namespace {

constexpr int kDefaultProxyPort = 1080; // curl's

std::string_view environment(std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        const char *value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return {};
}

// Whether no_proxy's list names the host itself or a domain it lies in.
bool exempted(std::string_view host, std::string_view list)
{
    while (!list.empty()) {
        const auto comma = list.find(',');
        std::string_view entry = trimmed(list.substr(0, comma));
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        if (entry == "*")
            return true;
        if (!entry.empty() && entry.front() == '.')
            entry.remove_prefix(1);
        if (entry.empty() || entry.size() > host.size())
            continue;
        const std::string_view tail = host.substr(host.size() - entry.size());
        if (equalsIgnoringCase(tail, entry)
            && (tail.size() == host.size() || host[host.size() - entry.size() - 1] == '.'))
            return true;
    }
    return false;
}

std::optional<ServerAddress> parseProxy(std::string_view text)
{
    if (const auto scheme = text.find("://"); scheme != std::string_view::npos) {
        if (!equalsIgnoringCase(text.substr(0, scheme), "http"))
            return std::nullopt; // socks and the rest are not spoken here
        text.remove_prefix(scheme + 3);
    }
    text = text.substr(0, text.find('/'));
    if (const auto at = text.rfind('@'); at != std::string_view::npos)
        text.remove_prefix(at + 1);
    return parseServerAddress(text, kDefaultProxyPort);
}

} // namespace

bool isLoopbackHost(const std::string &host)
{
    const std::string_view name = host;
    if (equalsIgnoringCase(name, "localhost")
        || (name.size() > 10 && equalsIgnoringCase(name.substr(name.size() - 10), ".localhost")))
        return true;
    in_addr v4 {};
    if (inet_pton(AF_INET, host.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6 {};
    return inet_pton(AF_INET6, host.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

std::optional<ServerAddress> environmentProxy(const std::string &host)
{
    if (isLoopbackHost(host))
        return std::nullopt;
    const std::string_view proxy = environment({"http_proxy", "all_proxy", "ALL_PROXY"});
    if (proxy.empty() || exempted(host, environment({"no_proxy", "NO_PROXY"})))
        return std::nullopt;
    return parseProxy(proxy);
}

} // namespace lark
