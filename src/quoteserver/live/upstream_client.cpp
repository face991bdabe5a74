#include "quoteserver/live/upstream_client.h"

#include "quoteserver/live/live_options.h"

namespace lark::quoteserver {
namespace {

// No reply of these services comes near this (a batch of 60 quotes is some 40 KB, a ranking
// page of 100 rows 20 KB); a larger one is not theirs, and is cut before it is parsed.
constexpr size_t kLargestBody = 1024 * 1024;

} // namespace

UpstreamClient::UpstreamClient(std::string base, std::string userAgent, const LiveTiming &timing,
                               RateLimiter &limiter, const std::string &referer)
    : m_base(std::move(base))
    , m_limiter(limiter)
    , m_health(timing.backoffFirst, timing.backoffLongest)
    , m_transfer({std::move(userAgent), timing.connect, timing.stall, referer})
{ }

UpstreamClient::~UpstreamClient() = default;

void UpstreamClient::abort()
{
    m_transfer.abort();
}

std::optional<std::string> UpstreamClient::get(std::string_view target,
                                               std::chrono::milliseconds deadline)
{
    if (m_transfer.aborted() || !m_limiter.acquire())
        return std::nullopt;
    std::string body;
    const auto outcome
        = m_transfer.get(m_base + std::string(target), deadline, [&body](std::string_view piece) {
              if (body.size() + piece.size() > kLargestBody)
                  return false;
              body.append(piece);
              return true;
          });
    if (outcome.ending != HttpTransfer::Ending::Done || outcome.status != 200)
        return std::nullopt;
    return body;
}

} // namespace lark::quoteserver
