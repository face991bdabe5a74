#pragma once

#include "protocol/instrument.h"

#include <optional>
#include <string>
#include <string_view>

namespace lark::quoteserver {

// "sh600061", "sz399001", "bj920002": an instrument as the real-time quote services (and the
// day-bar and minute services of the same maker) name it.
std::string quoteSymbol(const Instrument &instrument);
// The instrument a quote service's symbol names; nothing for a prefix or code it has no rule for.
std::optional<Instrument> instrumentOfQuoteSymbol(std::string_view symbol);
// "1.600061", "0.000001": as the history and list services name it.
std::string eastmoneySecid(const Instrument &instrument);

// A name as the protocol's 8-byte GBK field holds it, cut at a character boundary.
std::string protocolNameFromUtf8(std::string_view utf8);

} // namespace lark::quoteserver
