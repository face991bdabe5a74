#include "lookup/instrument_directory.h"

#include "lookup/pinyin_readings.h"

#include <algorithm>
#include <tuple>

namespace lark {

InstrumentDirectory::InstrumentDirectory(std::vector<Listing> listings,
                                         const std::atomic<int> *quit)
    : m_listings(std::move(listings))
{
    PinyinReadings readings;
    m_keys.reserve(m_listings.size());
    for (const Listing &listing : m_listings) {
        if (quit && *quit)
            break;
        m_keys.emplace_back(listing, readings);
    }
    m_listings.resize(m_keys.size());
}

std::vector<Match> InstrumentDirectory::find(std::string_view typed, size_t limit) const
{
    const SearchQuery query = SearchQuery::of(typed);
    using Ranked = std::tuple<Hit, size_t, size_t>; // hit, name length, listing
    std::vector<Ranked> ranked;
    for (size_t k = 0; k < m_keys.size(); ++k) {
        const auto hit = m_keys[k].match(query);
        if (!hit)
            continue;
        const bool byName = hit->kind == MatchKind::Pinyin || hit->kind == MatchKind::Name;
        ranked.emplace_back(*hit, byName ? m_listings[k].name.size() : 0, k);
    }
    const size_t kept = std::min(limit, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + kept, ranked.end());
    std::vector<Match> matches;
    for (size_t k = 0; k < kept; ++k) {
        const auto &[hit, length, listing] = ranked[k];
        matches.push_back({m_listings[listing], hit.kind});
    }
    return matches;
}

} // namespace lark
