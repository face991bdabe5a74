#pragma once

#include "protocol/http_transfer.h"
#include "quoteserver/live/rate_limiter.h"
#include "quoteserver/live/upstream_health.h"

#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace lark::quoteserver {

struct LiveTiming;

// One public service: a kept-alive connection, the shared request ceiling, time-outs and
// the back-off after failures. One request at a time; abort() from any thread.
class UpstreamClient
{
public:
    // referer: sent with every request when not empty (one service refuses requests without).
    UpstreamClient(std::string base, std::string userAgent, const LiveTiming &timing,
                   RateLimiter &limiter, const std::string &referer = {});
    ~UpstreamClient();
    UpstreamClient(const UpstreamClient &) = delete;
    UpstreamClient &operator=(const UpstreamClient &) = delete;

    // GETs base + target and hands the body of a 200 reply to parse, which returns nullopt
    // for a reply it cannot read. nullopt when backing off, failed, stopped or unreadable.
    template<typename Parse>
    auto fetch(std::string_view target, std::chrono::milliseconds deadline, Parse parse)
        -> decltype(parse(std::string_view()))
    {
        std::lock_guard lock(m_mutex);
        if (!m_health.mayTry(UpstreamHealth::Clock::now()))
            return std::nullopt;
        const auto body = get(target, deadline);
        decltype(parse(std::string_view())) parsed;
        if (body)
            parsed = parse(*body);
        if (m_transfer.aborted())
            return std::nullopt;
        if (parsed)
            m_health.succeeded();
        else
            m_health.failed(UpstreamHealth::Clock::now());
        return parsed;
    }

    const UpstreamHealth &health() const { return m_health; }
    // Ends the request in progress; every later one fails.
    void abort();

private:
    std::optional<std::string> get(std::string_view target, std::chrono::milliseconds deadline);

    const std::string m_base;
    RateLimiter &m_limiter;
    UpstreamHealth m_health;
    std::mutex m_mutex; // one request at a time
    HttpTransfer m_transfer;
};

} // namespace lark::quoteserver
