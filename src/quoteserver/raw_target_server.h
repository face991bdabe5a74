#pragma once

#include <httplib.h>

namespace lark::sim {

// httplib answers 400 to any request target holding a second '?', and every quote
// query has one. This server reads each request line itself, lets httplib parse a
// copy with the later '?' escaped, and hands the handlers the raw target in
// Request::target. It also owns the connection loop, so a stop ends idle
// keep-alive connections at once.
class RawTargetServer : public httplib::Server
{
public:
    RawTargetServer();
    ~RawTargetServer() override;
    RawTargetServer(const RawTargetServer &) = delete;
    RawTargetServer &operator=(const RawTargetServer &) = delete;

    // Ends the accept loop and every connection, idle or waiting, at once.
    void stopServing();

    // From a handler: the connection it runs on closes without sending another byte.
    static void dropCurrentConnection();

    // Runs one GET of target through httplib on this thread, answer discarded. httplib
    // keeps function-local statics on its request path; set up before the worker threads
    // exist, their creation orders them before any use, visibly so to ThreadSanitizer,
    // which cannot see the guard checks inside the uninstrumented library.
    void warmUp(const std::string &target);

private:
    bool process_and_close_socket(socket_t sock) override;

    int stopFd_; // an eventfd, readable once stopServing() has run
};

} // namespace lark::sim
