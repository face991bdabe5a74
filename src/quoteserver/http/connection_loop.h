#pragma once

#include "quoteserver/http/socket_endpoint.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace lark::quoteserver {

struct LoopLimits
{
    // From the first byte of a request to its last: a client that dribbles its header is cut.
    std::chrono::milliseconds request {5000};
    // A kept-alive connection waiting for its next request.
    std::chrono::milliseconds idle {10000};
    // Handing one reply over to a client that does not read.
    std::chrono::milliseconds reply {10000};
    // Open connections; when full, a new one takes the place of the one waiting longest.
    size_t connections = 256;
    // Connections of other users, and from other machines, are closed as they come.
    bool ownUserOnly = false;
};

// One whole request as it came: request line, headers and body.
struct ReceivedRequest
{
    uint64_t connection = 0;
    std::string bytes;
    Endpoint remote;
    Endpoint local;
    std::string client; // who asks: the user of a loopback peer, else the peer's address
};

// Every connection of one listening socket, waited on by one thread: accepting, gathering each
// request until it is whole, sending the replies and closing whatever overstays its limit. A
// slow or idle client costs a socket and a buffer, never a thread, so it delays nobody. The
// handler gets each whole request and must answer it with reply(), from any thread; the
// connection reads nothing more until then.
class ConnectionLoop
{
public:
    using Handler = std::function<void(ReceivedRequest)>;

    ConnectionLoop(LoopLimits limits, Handler handler);
    ~ConnectionLoop();
    ConnectionLoop(const ConnectionLoop &) = delete;
    ConnectionLoop &operator=(const ConnectionLoop &) = delete;

    // Serves the listening socket (non-blocking; the caller closes it) until stop().
    void run(int listener);
    // From any thread, also before run(): run() closes every connection and returns.
    void stop();
    // The reply to a request; close ends the connection once it is sent. Ignored when the
    // connection has gone meanwhile.
    void reply(uint64_t connection, std::string bytes, bool close);

private:
    using Clock = std::chrono::steady_clock;
    enum class State { Reading, Answering, Writing };
    struct Connection
    {
        int socket = -1;
        State state = State::Reading;
        Clock::time_point deadline;
        std::string in; // received, not yet handed on
        std::string out; // reply not yet sent
        size_t sent = 0;
        bool closeAfterReply = false;
        Endpoint remote;
        Endpoint local;
        std::string client;
    };

    void handleEvent(uint64_t id, uint32_t events);
    void acceptAll();
    void admit(int socket);
    bool evictLongestWaiting();
    void readFrom(uint64_t id);
    void dispatchIfWhole(uint64_t id);
    void writeTo(uint64_t id);
    void takeReplies();
    void closeOverdue();
    void close(uint64_t id);
    void closeAll();
    void watch(int fd, uint64_t id, uint32_t events, int operation);
    int millisecondsToNextDeadline() const;

    const LoopLimits m_limits;
    const Handler m_handler;
    const int m_epoll;
    const int m_stop; // eventfd: readable once stop() ran
    const int m_wake; // eventfd: replies are waiting
    int m_listener = -1;
    bool m_listenerPaused = false; // out of descriptors: accept again once one is closed
    uint64_t m_nextId;
    std::unordered_map<uint64_t, Connection> m_connections;

    std::mutex m_repliesMutex;
    std::vector<std::tuple<uint64_t, std::string, bool>> m_replies;
};

} // namespace lark::quoteserver
