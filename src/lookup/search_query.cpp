#include "lookup/search_query.h"

#include "lookup/folded_text.h"

namespace lark {

uint64_t letterBit(char c)
{
    if (c >= 'a' && c <= 'z')
        return uint64_t(1) << (c - 'a');
    if (c >= '0' && c <= '9')
        return uint64_t(1) << (26 + c - '0');
    return 0;
}

SearchQuery SearchQuery::of(std::string_view typed)
{
    SearchQuery query {foldedText(typed)};
    for (char c : query.text)
        query.letters |= letterBit(c);
    return query;
}

} // namespace lark
