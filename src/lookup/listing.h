#pragma once

#include "protocol/instrument.h"

#include <string>

namespace lark {

// One instrument a user may pick: its code as the code fields take it ("0001" or "000001" as
// the lists have it, "1A0001" for a Shanghai index), its name in UTF-8, market and kind.
struct Listing
{
    std::string code;
    std::string name;
    Exchange exchange = Exchange::Shanghai;
    InstrumentKind kind = InstrumentKind::Stock;

    bool operator==(const Listing &) const = default;
};

} // namespace lark
