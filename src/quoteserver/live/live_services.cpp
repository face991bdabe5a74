#include "quoteserver/live/live_services.h"

namespace lark::quoteserver {
namespace {

// The quotes fallback refuses requests that do not come from its own site's pages.
constexpr const char *kFallbackQuotesReferer = "https://finance.sina.com.cn/";

} // namespace

LiveServices::LiveServices(const LiveOptions &o)
    : m_limiter(o.timing.perSecond, o.timing.perMinute, o.timing.rateSecond)
    , m_quotes(o.upstreams.quotes, o.userAgent, o.timing, m_limiter)
    , m_fallbackQuotes(o.upstreams.fallbackQuotes, o.userAgent, o.timing, m_limiter,
                       kFallbackQuotesReferer)
    , m_history(o.upstreams.history, o.userAgent, o.timing, m_limiter)
    , m_minutes(o.upstreams.minutes, o.userAgent, o.timing, m_limiter)
    , m_lists(o.upstreams.lists, o.userAgent, o.timing, m_limiter)
    , m_fallbackLists(o.upstreams.fallbackLists, o.userAgent, o.timing, m_limiter)
{ }

std::optional<std::time_t> LiveServices::failingSince() const
{
    std::optional<std::time_t> earliest;
    for (const auto since :
         {bothFailingSince(m_quotes, m_fallbackQuotes), bothFailingSince(m_history, m_minutes),
          bothFailingSince(m_lists, m_fallbackLists)}) {
        if (since && (!earliest || *since < *earliest))
            earliest = since;
    }
    return earliest;
}

void LiveServices::stop()
{
    m_limiter.stop();
    for (UpstreamClient *client :
         {&m_quotes, &m_fallbackQuotes, &m_history, &m_minutes, &m_lists, &m_fallbackLists})
        client->abort();
}

} // namespace lark::quoteserver
