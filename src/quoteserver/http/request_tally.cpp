#include "quoteserver/http/request_tally.h"

namespace lark::quoteserver {

void RequestTally::add(std::string_view target)
{
    if (auto it = m_perTarget.find(target); it != m_perTarget.end()) {
        ++it->second;
    } else if (m_bytes + target.size() <= kBudgetBytes) {
        m_perTarget.emplace(target, 1);
        m_bytes += target.size();
    } else {
        ++m_untracked;
    }
}

uint64_t RequestTally::count(std::string_view contains) const
{
    uint64_t count = contains.empty() ? m_untracked : 0;
    for (const auto &[target, n] : m_perTarget) {
        if (target.find(contains) != std::string::npos)
            count += n;
    }
    return count;
}

} // namespace lark::quoteserver
