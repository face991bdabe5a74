#pragma once

#include "lookup/listing.h"

namespace lark {

// How a listing answered what was typed, best first.
enum class MatchKind {
    ExactCode, // one of its code's forms: "0001" and "000001", "1A0001"
    CodePrefix,
    Pinyin, // initials, full readings or a mix, from any character of the name on
    Name, // part of the name as written
};

struct Match
{
    Listing listing;
    MatchKind kind;
};

} // namespace lark
