#pragma once

#include "quoteserver/live/market_symbol.h"
#include "quoteserver/market_source.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The day bars and the day's minutes of the quote service's maker, which the history and the
// chart fall back on. Neither tells a code it does not know from one it will not serve now:
// a reply without bars or minutes is a failed one.
namespace lark::quoteserver {

// "/appstock/app/fqkline/get?param=sh600061,day,,,10,": the last bars daily bars, unadjusted.
std::string tencentBarsTarget(const Instrument &instrument, int bars);

// The bars of data.SYMBOL.day (or .qfqday), oldest first, each [date, open, close, high, low,
// volume in lots, ...] with the amount in 10,000 yuan ninth where the service sends it.
// nullopt for another text, no bars, or a bar malformed or out of range.
std::optional<Answer<std::vector<DayRecord>>> parseTencentBars(std::string_view json,
                                                               const Instrument &instrument);

// "/appstock/app/minute/query?code=sh600061"
std::string tencentMinutesTarget(const Instrument &instrument);

struct MinuteDay
{
    int32_t date = 0; // YYYYMMDD
    std::vector<PathPoint> points; // up to the close, volumes cumulative in shares
};

// data.SYMBOL.data: the day's date and its "HHMM price volume amount" rows, volumes in lots
// (shares for STAR stocks) since the open; rows after the close are left out. nullopt for
// another text, no rows, or a row malformed or out of range.
std::optional<Answer<MinuteDay>> parseTencentMinutes(std::string_view json,
                                                     const Instrument &instrument);

} // namespace lark::quoteserver
