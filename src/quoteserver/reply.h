#pragma once

#include <string>
#include <string_view>

namespace lark::sim {

// One HTTP answer, before any fault bends it.
struct Reply
{
    int status = 200;
    std::string contentType = "application/octet-stream";
    std::string body;
    bool chunked = false; // sent in pieces of at most kChunkSize bytes
};

inline constexpr size_t kChunkSize = 4096;

inline Reply textReply(std::string text, int status = 200)
{
    return Reply {status, "text/plain; charset=utf-8", std::move(text), false};
}

// An HTML error page; never 97 bytes long, so no client takes it for a quote.
Reply errorPage(int status, std::string_view message);

} // namespace lark::sim
