#pragma once

#include "quoteserver/live/upstream_client.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <optional>
#include <string_view>

namespace lark::quoteserver {

// While neither of a service and its fallback answers: since the later stopped answering.
inline std::optional<std::time_t> bothFailingSince(const UpstreamClient &primary,
                                                   const UpstreamClient &fallback)
{
    const auto first = primary.health().failingSince();
    const auto second = fallback.health().failingSince();
    if (!first || !second)
        return std::nullopt;
    return std::max(*first, *second);
}

// A service and the one asked in its place while it fails or backs off. The primary is tried
// whenever its back-off lets it, so it takes over again as soon as it answers; each answer
// comes whole from one of the two. Thread rule: that of UpstreamClient.
class FallbackPair
{
public:
    FallbackPair(UpstreamClient &primary, UpstreamClient &fallback)
        : m_primary(primary)
        , m_fallback(fallback)
    { }

    // The same request of both, for services that speak alike.
    template<typename Parse>
    auto fetch(std::string_view target, std::chrono::milliseconds deadline, Parse parse)
    {
        return fetch(target, parse, target, parse, deadline);
    }

    template<typename PrimaryParse, typename FallbackParse>
    auto fetch(std::string_view primaryTarget, PrimaryParse primaryParse,
               std::string_view fallbackTarget, FallbackParse fallbackParse,
               std::chrono::milliseconds deadline)
    {
        if (auto answer = m_primary.fetch(primaryTarget, deadline, primaryParse))
            return answer;
        return m_fallback.fetch(fallbackTarget, deadline, fallbackParse);
    }

private:
    UpstreamClient &m_primary;
    UpstreamClient &m_fallback;
};

} // namespace lark::quoteserver
