#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lark::quoteserver {

// A stock of the real markets as the public services name it. The client's query form
// does not decide the market (today's Shenzhen codes have six digits too): the code does.
struct MarketSymbol
{
    bool shanghai = false;
    std::string code; // six digits

    // "sh600061", as the real-time quote service names it.
    std::string tencent() const { return (shanghai ? "sh" : "sz") + code; }
    // "1.600061", as the history service names it.
    std::string secid() const { return (shanghai ? "1." : "0.") + code; }

    bool operator==(const MarketSymbol &) const = default;
    auto operator<=>(const MarketSymbol &) const = default;
};

// Four characters: Shenzhen with two leading zeros ("0001" is sz000001). Six digits: 6, 9
// or 5 first is Shanghai (A, B shares, funds), 0, 2 or 3 Shenzhen. Anything else: none.
std::optional<MarketSymbol> marketSymbol(std::string_view code);

// A name as the protocol's 8-byte GBK field holds it, cut at a character boundary.
std::string protocolNameFromUtf8(std::string_view utf8);

} // namespace lark::quoteserver
