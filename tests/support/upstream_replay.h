#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
} // namespace httplib

namespace lark::test {

// The public services on loopback, answering from recorded replies in a directory:
//   /q=CODES                    each code's line from the quotes file, or the service's
//                               none-match line
//   /list=CODES                 each code's line from the second quotes file, or its empty line
//   /api/qt/stock/kline/get     kline_SECID.json, else kline_none.json
//   /api/qt/clist/get           boards_BOARD.json for a list page (page 1; later pages are
//                               past the end), ranking_BOARD.json for a ranking page
//   /appstock/app/fqkline/get   fqkline_SYMBOL.json, else ifzq_no_data.json
//   /appstock/app/minute/query  minute_SYMBOL.json, else ifzq_no_data.json
// Quote files are stored in UTF-8 and served in GBK, as the two quote services send them.
// It can go away and come back on the same port, answer garbage instead, answer quotes late,
// and take one service down while the others answer. Its setters may be called from any
// thread while it serves.
class UpstreamReplay
{
public:
    struct Request
    {
        // "quotes", "sina", "history", "lists", "ranking", "bars" or "minutes"
        std::string kind;
        std::string target;
        std::string userAgent;
        std::chrono::steady_clock::time_point at;
        size_t bytes = 0; // of the body served
    };

    explicit UpstreamReplay(std::filesystem::path dataDir,
                            std::string quotesFile = "tencent_watch_list.txt",
                            std::string sinaFile = "sina_watch_list.txt");
    ~UpstreamReplay();

    // Listens on 127.0.0.1 (on the port of the last start when there was one).
    int start();
    void stop();
    std::string url() const;

    void setQuotesFile(const std::string &name);
    void setSinaFile(const std::string &name);
    void setGarbage(bool garbage); // every answer the recorded error page
    void setFailing(const std::string &kind, bool failing); // that kind answers HTTP 503
    // Every list and ranking page carries this many rows (made up: an attack, not a recording).
    void setListFlood(size_t rows);
    void setQuotesDelay(std::chrono::milliseconds delay); // each quote reply this late
    std::vector<Request> requests() const;
    size_t count(const std::string &kind) const;
    size_t bytes(const std::string &kind) const;

private:
    struct Reply
    {
        std::string kind, body, type;
    };
    // An empty kind for a path no service serves; called with m_mutex held.
    Reply replyTo(const httplib::Request &req) const;
    // The file's line for each code, else missing with "{}" standing for the code; in GBK.
    std::string quoteLines(const std::string &file, const std::string &codes,
                           const std::string &prefix, const std::string &missing) const;
    std::string fileOr(const std::string &name, const std::string &fallback) const;

    const std::filesystem::path m_dataDir;
    mutable std::mutex m_mutex;
    std::string m_quotesFile, m_sinaFile;
    bool m_garbage = false;
    size_t m_listFlood = 0;
    std::set<std::string> m_failing;
    std::atomic<std::chrono::milliseconds> m_quotesDelay {};
    std::vector<Request> m_requests;
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
};

} // namespace lark::test
