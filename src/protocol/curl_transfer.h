#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <string_view>

typedef void CURL;
typedef void CURLM;

namespace lark {

// One libcurl easy handle driven through a multi handle of its own: abort() from any thread
// ends a transfer at once, and the connection stays open from one transfer to the next.
// Transfers run on one thread at a time.
class CurlTransfer
{
public:
    struct Limits
    {
        std::chrono::milliseconds connect;
        std::chrono::seconds stalled; // no byte for this long ends a transfer
    };

    enum class Ending {
        Done,
        Cut, // onData said no more
        Failed,
        Aborted,
    };
    struct Outcome
    {
        Ending ending = Ending::Failed;
        long status = 0; // the HTTP status, when a status line came
        long connects = 0; // connections the transfer opened
    };

    CurlTransfer(const std::string &userAgent, Limits limits);
    ~CurlTransfer();
    CurlTransfer(const CurlTransfer &) = delete;
    CurlTransfer &operator=(const CurlTransfer &) = delete;

    bool ready() const { return m_easy && m_multi; }
    // For options beyond the common ones; not during a transfer.
    CURL *easy() const { return m_easy; }

    // GETs url within deadline, handing each piece of the body to onData, which returns false
    // to cut the transfer short.
    Outcome get(const std::string &url, std::chrono::milliseconds deadline,
                const std::function<bool(std::string_view)> &onData);

    void abort();
    bool aborted() const { return m_aborted; }

private:
    static size_t onWrite(char *data, size_t size, size_t count, void *userdata);

    CURL *m_easy = nullptr;
    CURLM *m_multi = nullptr;
    std::atomic<bool> m_aborted {false};
};

} // namespace lark
