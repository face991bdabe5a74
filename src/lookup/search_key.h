#pragma once

#include "lookup/listing.h"
#include "lookup/match.h"
#include "lookup/search_query.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lark {

class PinyinReadings;

// How a listing answered a query, and from where: the character of the name a pinyin match
// starts at, the byte a name match does.
struct Hit
{
    MatchKind kind;
    uint32_t position;

    auto operator<=>(const Hit &) const = default;
};

// A listing made ready for matching: the forms of its code, its folded name and each
// character's readings.
class SearchKey
{
public:
    SearchKey(const Listing &listing, PinyinReadings &readings);

    std::optional<Hit> match(const SearchQuery &query) const;

private:
    struct Character
    {
        std::string written; // folded, UTF-8
        std::vector<std::string> readings; // Han only
    };

    std::optional<uint32_t> pinyinStart(const std::string &query) const;
    bool spelledFrom(size_t first, const std::string &query) const;

    std::array<std::string, 2> m_codes; // lower case; the second may be empty
    std::string m_name;
    std::vector<Character> m_characters;
    uint64_t m_letters = 0; // every letter and digit a query may use here
};

} // namespace lark
