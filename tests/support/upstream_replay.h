#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace lark::test {

// The three public services on loopback, answering from recorded replies in a directory:
//   /q=CODES                    each code's line from the quotes file, or the service's
//                               none-match line; the reply in GBK, as recorded
//   /api/qt/stock/kline/get     kline_SECID.json, else kline_none.json
//   /api/qt/clist/get           boards_BOARD.json for a list page (page 1; later pages are
//                               past the end), ranking_BOARD.json for a ranking page
// It can go away and come back on the same port, answer garbage instead, and answer quotes late.
class UpstreamReplay
{
public:
    struct Request
    {
        std::string kind; // "quotes", "history", "lists" or "ranking"
        std::string target;
        std::string userAgent;
        std::chrono::steady_clock::time_point at;
    };

    explicit UpstreamReplay(std::filesystem::path dataDir,
                            std::string quotesFile = "tencent_watch_list.txt");
    ~UpstreamReplay();

    // Listens on 127.0.0.1 (on the port of the last start when there was one).
    int start();
    void stop();
    std::string url() const;

    void setQuotesFile(const std::string &name);
    void setGarbage(bool garbage); // every answer the recorded error page
    void setQuotesDelay(std::chrono::milliseconds delay); // each quote reply this late
    std::vector<Request> requests() const;
    size_t count(const std::string &kind) const;

private:
    const std::filesystem::path m_dataDir;
    mutable std::mutex m_mutex;
    std::string m_quotesFile;
    bool m_garbage = false;
    std::atomic<std::chrono::milliseconds> m_quotesDelay {};
    std::vector<Request> m_requests;
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
};

} // namespace lark::test
