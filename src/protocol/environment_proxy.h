#pragma once

#include "protocol/server_address.h"

#include <optional>
#include <string>

namespace lark {

// localhost, *.localhost, 127.0.0.0/8 and ::1.
bool isLoopbackHost(const std::string &host);

// The proxy the environment names for http://host, read as curl reads it: http_proxy, else
// all_proxy or ALL_PROXY (an http:// proxy or one without a scheme; port 1080 when none is
// given), unless no_proxy or NO_PROXY lists the host or a domain of it, or is "*". A loopback
// host, such as the built-in market's, is always reached directly. Reads the environment, so
// not while another thread changes it.
std::optional<ServerAddress> environmentProxy(const std::string &host);

} // namespace lark
