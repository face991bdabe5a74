#pragma once

#include "quoteserver/http/socket_endpoint.h"

#include <optional>
#include <sys/types.h>

namespace lark::quoteserver {

// The user whose socket is the other end of a loopback TCP connection, as the kernel's socket
// diagnostics tell it; nothing for a remote peer or one no longer there.
std::optional<uid_t> loopbackPeerUser(const Endpoint &remote, const Endpoint &local);

} // namespace lark::quoteserver
