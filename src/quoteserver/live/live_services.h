#pragma once

#include "quoteserver/live/fallback_pair.h"
#include "quoteserver/live/live_options.h"
#include "quoteserver/live/rate_limiter.h"
#include "quoteserver/live/upstream_client.h"

#include <ctime>
#include <optional>

namespace lark::quoteserver {

// The six public services the live market asks, under one request ceiling, each of the three
// kinds of figures with the service asked in its place while it fails. Any thread.
class LiveServices
{
public:
    explicit LiveServices(const LiveOptions &options);

    FallbackPair quotes() { return {m_quotes, m_fallbackQuotes}; }
    FallbackPair bars() { return {m_history, m_minutes}; }
    FallbackPair lists() { return {m_lists, m_fallbackLists}; }
    UpstreamClient &minutes() { return m_minutes; }

    // Since when some kind of figures has come from neither of its services; nullopt while
    // every kind comes from one of them.
    std::optional<std::time_t> failingSince() const;
    // Ends every request in progress and every wait for the ceiling.
    void stop();

private:
    RateLimiter m_limiter;
    UpstreamClient m_quotes, m_fallbackQuotes, m_history, m_minutes, m_lists, m_fallbackLists;
};

} // namespace lark::quoteserver
