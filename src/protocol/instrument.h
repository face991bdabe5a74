#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lark {

enum class Exchange { Shanghai, Shenzhen, Beijing };
enum class InstrumentKind { Stock, BShare, Fund, Bond, Index };

// What a code names, whichever query form it came in: the code alone decides. Shanghai's
// indices go by "1A" and the last four digits, as the era's terminals had it, because a
// six-digit 000xxx is a Shenzhen stock; four characters are a Shenzhen code without its
// leading zeros.
struct Instrument
{
    Exchange exchange = Exchange::Shanghai;
    InstrumentKind kind = InstrumentKind::Stock;
    std::string code; // the exchange's six digits: "000001" for 1A0001
    bool star = false; // Shanghai's STAR market, 688xxx and 689xxx

    auto operator<=>(const Instrument &) const = default;
};

std::optional<Instrument> instrumentOf(std::string_view code);

// The code a user types for it: the exchange's, but "1A" + four digits for a Shanghai index.
std::string userCode(const Instrument &instrument);

// Funds and bonds trade in thousandths of a yuan, so their prices show three decimals.
int priceDecimals(std::string_view code);

// The kind as a short Chinese word: 股票, B股, 基金, 债券, 指数.
const char *kindName(InstrumentKind kind);

// The exchange by its city: 上海, 深圳, 北京.
const char *exchangeName(Exchange exchange);

} // namespace lark
