#include "lookup/search_key.h"

#include "lookup/folded_text.h"
#include "lookup/pinyin_readings.h"

#include <unicode/utf8.h>

namespace lark {
namespace {

// Offsets into a query as bits: a query longer than this is matched by code and name only.
constexpr size_t kLongestSpelling = 63;

std::array<std::string, 2> codeForms(const Listing &listing)
{
    std::string code = foldedText(listing.code);
    std::string other;
    if (listing.exchange == Exchange::Shenzhen && code.size() == 4)
        other = "00" + code;
    else if (listing.exchange == Exchange::Shenzhen && code.size() == 6 && code.starts_with("00"))
        other = code.substr(2);
    return {std::move(code), std::move(other)};
}

} // namespace

SearchKey::SearchKey(const Listing &listing, PinyinReadings &readings)
    : m_codes(codeForms(listing))
    , m_name(foldedText(listing.name))
{
    for (int32_t at = 0; at < static_cast<int32_t>(m_name.size());) {
        const int32_t begin = at;
        UChar32 c = 0;
        U8_NEXT(m_name.data(), at, static_cast<int32_t>(m_name.size()), c);
        Character character {m_name.substr(begin, at - begin), {}};
        if (c >= 0)
            character.readings = readings.of(static_cast<char32_t>(c));
        for (char letter : character.written)
            m_letters |= letterBit(letter);
        for (const std::string &reading : character.readings)
            for (char letter : reading)
                m_letters |= letterBit(letter);
        m_characters.push_back(std::move(character));
    }
}

std::optional<Hit> SearchKey::match(const SearchQuery &query) const
{
    const std::string &text = query.text;
    if (text.empty())
        return std::nullopt;
    for (const std::string &code : m_codes)
        if (code == text)
            return Hit {MatchKind::ExactCode, 0};
    for (const std::string &code : m_codes)
        if (!code.empty() && code.starts_with(text))
            return Hit {MatchKind::CodePrefix, 0};
    if (query.letters & ~m_letters)
        return std::nullopt;
    if (const auto start = pinyinStart(text))
        return Hit {MatchKind::Pinyin, *start};
    if (const size_t at = m_name.find(text); at != std::string::npos)
        return Hit {MatchKind::Name, static_cast<uint32_t>(at)};
    return std::nullopt;
}

std::optional<uint32_t> SearchKey::pinyinStart(const std::string &query) const
{
    if (query.size() > kLongestSpelling)
        return std::nullopt;
    for (size_t first = 0; first < m_characters.size(); ++first)
        if (spelledFrom(first, query))
            return static_cast<uint32_t>(first);
    return std::nullopt;
}

// Walks the name from its character first on, each character taken as written, by its
// initial or by a whole reading; the query may end inside a reading. The sets hold the query
// offsets reached so far, by the written characters alone or with a reading among them: only
// the second is a pinyin match, the first a name match.
bool SearchKey::spelledFrom(size_t first, const std::string &query) const
{
    const uint64_t end = uint64_t(1) << query.size();
    uint64_t written = 1, spoken = 0;
    for (size_t k = first; k < m_characters.size() && (written | spoken); ++k) {
        const Character &character = m_characters[k];
        uint64_t nextWritten = 0, nextSpoken = 0;
        for (size_t at = 0; at < query.size(); ++at) {
            const uint64_t bit = uint64_t(1) << at;
            if (!((written | spoken) & bit))
                continue;
            const std::string_view rest = std::string_view(query).substr(at);
            if (rest.starts_with(character.written)) {
                const uint64_t reached = bit << character.written.size();
                nextWritten |= written & bit ? reached : 0;
                nextSpoken |= spoken & bit ? reached : 0;
            }
            for (const std::string &reading : character.readings) {
                if (reading.front() != rest.front())
                    continue;
                if (reading.starts_with(rest))
                    return true;
                nextSpoken |= bit << 1;
                if (rest.starts_with(reading))
                    nextSpoken |= bit << reading.size();
            }
        }
        if (nextSpoken & end)
            return true;
        written = nextWritten & ~end;
        spoken = nextSpoken;
    }
    return false;
}

} // namespace lark
