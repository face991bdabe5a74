#pragma once

#include <string>
#include <string_view>

namespace lark::quoteserver {

// One HTTP answer, before any fault bends it.
struct Reply
{
    int status = 200;
    std::string contentType = "application/octet-stream";
    std::string body;
    bool chunked = false; // sent in pieces of at most kChunkSize bytes
    bool dropped = false; // the connection closes after the headers: the query fails
};

inline constexpr size_t kChunkSize = 4096;

inline Reply textReply(std::string text, int status = 200)
{
    return Reply {status, "text/plain; charset=utf-8", std::move(text), false};
}

inline Reply htmlReply(std::string html, int status = 200)
{
    return Reply {status, "text/html; charset=utf-8", std::move(html), false};
}

inline Reply droppedReply()
{
    Reply reply {503, "text/plain; charset=utf-8", "figures unavailable", false};
    reply.dropped = true;
    return reply;
}

// An HTML error page; never 97 bytes long, so no client takes it for a quote.
Reply errorPage(int status, std::string_view message);

} // namespace lark::quoteserver
