#pragma once

#include "quoteserver/http/connection_loop.h"
#include "quoteserver/http/fair_queue.h"

#include <httplib.h>

#include <memory>
#include <string>

namespace lark::quoteserver {

// An httplib server whose connections wait in one ConnectionLoop and whose whole requests are
// answered by a small fixed pool, client by client in turn: slow or idle clients hold no
// thread, and a client with many requests waits behind its own. With no workers the loop
// answers each request itself, for handlers that never wait. Handlers get the request target
// as received in Request::target (see ConnectionStream), and who asks in currentClient()
// (current_client.h).
class RawTargetServer : public httplib::Server
{
public:
    explicit RawTargetServer(size_t workers, LoopLimits limits = {});
    ~RawTargetServer() override;
    RawTargetServer(const RawTargetServer &) = delete;
    RawTargetServer &operator=(const RawTargetServer &) = delete;

    // Binds host:port (0: any free port); the bound port, or -1.
    int bind(const std::string &host, int port);
    // Serves on the calling thread until stopServing(); answers run on the pool.
    void serve();
    // From any thread: serve() returns, every connection closes, the pool ends.
    void stopServing();

    // From a handler: the connection it runs on closes without sending another byte.
    static void dropCurrentConnection();

    // Runs one GET of target through httplib on this thread, answer discarded. httplib
    // keeps function-local statics on its request path; set up before the worker threads
    // exist, their creation orders them before any use, visibly so to ThreadSanitizer,
    // which cannot see the guard checks inside the uninstrumented library.
    void warmUp(const std::string &target);

private:
    void answer(ReceivedRequest request);

    ConnectionLoop m_loop;
    size_t m_workers;
    std::unique_ptr<FairQueue> m_pool;
    int m_listener = -1;
};

} // namespace lark::quoteserver
