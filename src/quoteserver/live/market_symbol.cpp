#include "quoteserver/live/market_symbol.h"

#include "base/gbk.h"
#include "protocol/wire_format.h"

namespace lark::quoteserver {
namespace {

const char *prefixOf(Exchange exchange)
{
    switch (exchange) {
    case Exchange::Shanghai:
        return "sh";
    case Exchange::Shenzhen:
        return "sz";
    case Exchange::Beijing:
        return "bj";
    }
    return "";
}

} // namespace

std::string quoteSymbol(const Instrument &instrument)
{
    return prefixOf(instrument.exchange) + instrument.code;
}

std::optional<Instrument> instrumentOfQuoteSymbol(std::string_view symbol)
{
    if (symbol.size() != 8)
        return std::nullopt;
    const std::string_view prefix = symbol.substr(0, 2), code = symbol.substr(2);
    // Shanghai's indices are 000xxx there, a code that alone would name a Shenzhen stock.
    auto instrument = prefix == "sh" && code.starts_with("000")
        ? instrumentOf("1A" + std::string(code.substr(2)))
        : instrumentOf(code);
    if (!instrument || prefixOf(instrument->exchange) != prefix)
        return std::nullopt;
    return instrument;
}

std::string eastmoneySecid(const Instrument &instrument)
{
    return (instrument.exchange == Exchange::Shanghai ? "1." : "0.") + instrument.code;
}

std::string protocolNameFromUtf8(std::string_view utf8)
{
    const std::string gbk = utf8ToGbk(utf8);
    size_t end = 0;
    while (end < gbk.size()) {
        const size_t width = static_cast<unsigned char>(gbk[end]) < 0x80 ? 1 : 2;
        if (end + width > wire::kNameSize)
            break;
        end += width;
    }
    return gbk.substr(0, end);
}

} // namespace lark::quoteserver
