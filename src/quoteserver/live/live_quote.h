#pragma once

#include "quoteserver/market_source.h"

#include <cstdint>
#include <map>
#include <string>

namespace lark::quoteserver {

// One stock's line of a batch reply of a real-time quote service: its figures and the
// moment they are of.
struct LiveQuote
{
    Quote quote; // the name already in the protocol's 8-byte GBK field
    int32_t date = 0; // YYYYMMDD, Beijing time
    double sessionMinute = 0; // minutes of trading since 09:30, 0 to 240
};

// The lines of a batch reply by quote symbol ("sh600061").
using QuoteLines = std::map<std::string, Answer<LiveQuote>>;

} // namespace lark::quoteserver
