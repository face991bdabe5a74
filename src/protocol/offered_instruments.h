#pragma once

#include <string_view>

namespace lark {

// What every quote server quotes besides its boards' stock lists, by the codes the client types
// for them: the markets' main indices and the index funds that follow them. The client offers
// them among the codes to pick; the simulated market serves them.
struct OfferedInstrument
{
    std::string_view code;
    std::string_view name; // UTF-8
};

inline constexpr OfferedInstrument kOfferedInstruments[] = {
    {"1A0001", "上证指数"}, {"1A0300", "沪深300"}, {"1A0688", "科创50"},  {"399001", "深证成指"},
    {"399006", "创业板指"}, {"510300", "300ETF"},  {"159915", "创业ETF"},
};

} // namespace lark
