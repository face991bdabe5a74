#pragma once

#include <string>

namespace lark::quoteserver {

// Who asks for the request the calling thread answers (see ReceivedRequest::client), so that
// what the request costs upstream counts against that client; empty off a request.
const std::string &currentClient();

// Names the client for the life of the scope, on the calling thread.
class ClientScope
{
public:
    explicit ClientScope(std::string client);
    ~ClientScope();
    ClientScope(const ClientScope &) = delete;
    ClientScope &operator=(const ClientScope &) = delete;
};

} // namespace lark::quoteserver
