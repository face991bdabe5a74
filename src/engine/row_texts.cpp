#include "engine/row_texts.h"

#include "base/c_format.h"
#include "protocol/instrument.h"
#include "protocol/wire_format.h"

namespace lark {
namespace {

std::string priceText(int32_t thousandths, int decimals)
{
    return cformat("%6.*f", decimals, thousandths / 1000.0);
}

} // namespace

std::string lotsText(int32_t shares, const char *format)
{
    return shares == wire::kNotCarried ? "---" : cformat(format, shares / 100);
}

int columnCount(int interfaceSize)
{
    switch (interfaceSize) {
    case 2:
        return 5;
    case 3:
        return 3;
    default:
        return 8;
    }
}

std::vector<std::string> quoteRowTexts(const QuoteRecord &r, std::string_view code,
                                       int interfaceSize)
{
    const int decimals = priceDecimals(code);
    std::string pct = cformat("%6.2f", changePercent(r.last, r.previousClose));
    std::vector<std::string> texts {std::string(code), r.name, priceText(r.last, decimals)};
    switch (columnCount(interfaceSize)) {
    case 5:
        texts.push_back(lotsText(r.volume));
        texts.push_back(pct);
        break;
    case 8:
        texts.push_back(lotsText(r.volume));
        texts.push_back(cformat("%6.*f", decimals, changeYuan(r.last, r.previousClose)));
        texts.push_back(priceText(r.bid1Price, decimals));
        texts.push_back(priceText(r.ask1Price, decimals));
        texts.push_back(pct);
        break;
    default:
        break;
    }
    return texts;
}

std::vector<std::string> invalidRowTexts(std::string_view code, int interfaceSize)
{
    std::vector<std::string> texts(columnCount(interfaceSize), "---");
    texts[0] = std::string(code);
    texts[1] = "无效值";
    return texts;
}

std::vector<std::string> emptyRowTexts(int interfaceSize)
{
    return std::vector<std::string>(columnCount(interfaceSize));
}

} // namespace lark
