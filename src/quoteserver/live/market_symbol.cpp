#include "quoteserver/live/market_symbol.h"

#include "base/gbk.h"

#include <algorithm>

namespace lark::quoteserver {
namespace {

constexpr size_t kNameField = 8;

bool allDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::optional<MarketSymbol> marketSymbol(std::string_view code)
{
    if (!allDigits(code))
        return std::nullopt;
    if (code.size() == 4)
        return MarketSymbol {false, "00" + std::string(code)};
    if (code.size() != 6)
        return std::nullopt;
    if (code[0] == '6' || code[0] == '9' || code[0] == '5')
        return MarketSymbol {true, std::string(code)};
    if (code[0] == '0' || code[0] == '2' || code[0] == '3')
        return MarketSymbol {false, std::string(code)};
    return std::nullopt;
}

std::string protocolNameFromUtf8(std::string_view utf8)
{
    const std::string gbk = utf8ToGbk(utf8);
    size_t end = 0;
    while (end < gbk.size()) {
        const size_t width = static_cast<unsigned char>(gbk[end]) < 0x80 ? 1 : 2;
        if (end + width > kNameField)
            break;
        end += width;
    }
    return gbk.substr(0, end);
}

} // namespace lark::quoteserver
