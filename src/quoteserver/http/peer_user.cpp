#include "quoteserver/http/peer_user.h"

#include <arpa/inet.h>
#include <cstring>
#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lark::quoteserver {
namespace {

// The address as inet_diag takes it: four 32-bit words, network order; false for neither form.
bool diagAddress(const std::string &ip, int family, __be32 (&words)[4])
{
    std::memset(words, 0, sizeof words);
    return inet_pton(family, ip.c_str(), words) == 1;
}

bool isLoopback(const std::string &ip)
{
    in_addr v4 {};
    if (inet_pton(AF_INET, ip.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6 {};
    return inet_pton(AF_INET6, ip.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

} // namespace

// One question to the kernel's socket diagnostics: the socket with exactly these four ends.
std::optional<uid_t> loopbackPeerUser(const Endpoint &remote, const Endpoint &local)
{
    if (!isLoopback(remote.ip))
        return std::nullopt;
    const int family = remote.ip.find(':') == std::string::npos ? AF_INET : AF_INET6;
    struct
    {
        nlmsghdr header;
        inet_diag_req_v2 request;
    } question {};
    question.header.nlmsg_len = sizeof question;
    question.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    question.header.nlmsg_flags = NLM_F_REQUEST;
    question.request.sdiag_family = static_cast<__u8>(family);
    question.request.sdiag_protocol = IPPROTO_TCP;
    question.request.idiag_states = ~0u;
    // The peer's socket: its source is our remote end, its destination our local one.
    question.request.id.idiag_sport = htons(static_cast<uint16_t>(remote.port));
    question.request.id.idiag_dport = htons(static_cast<uint16_t>(local.port));
    question.request.id.idiag_cookie[0] = question.request.id.idiag_cookie[1] = INET_DIAG_NOCOOKIE;
    if (!diagAddress(remote.ip, family, question.request.id.idiag_src)
        || !diagAddress(local.ip, family, question.request.id.idiag_dst))
        return std::nullopt;

    const int fd = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
    if (fd < 0)
        return std::nullopt;
    std::optional<uid_t> user;
    alignas(nlmsghdr) char answer[4096];
    if (::send(fd, &question, sizeof question, 0) == sizeof question) {
        const ssize_t got = ::recv(fd, answer, sizeof answer, 0);
        const auto *header = reinterpret_cast<const nlmsghdr *>(answer);
        if (got >= static_cast<ssize_t>(NLMSG_LENGTH(sizeof(inet_diag_msg)))
            && NLMSG_OK(header, static_cast<size_t>(got))
            && header->nlmsg_type == SOCK_DIAG_BY_FAMILY)
            user = static_cast<const inet_diag_msg *>(NLMSG_DATA(header))->idiag_uid;
    }
    ::close(fd);
    return user;
}

} // namespace lark::quoteserver
