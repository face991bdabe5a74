#include "protocol/quote_record.h"

#include "protocol/c_format.h"
#include "protocol/gbk.h"
#include "protocol/quote_session.h"
#include "protocol/url_escape.h"
#include "protocol/wire.h"

namespace lark {
namespace {

constexpr size_t kNameSize = 8;

std::string priceText(int32_t thousandths)
{
    return cformat("%6.2f", thousandths / 1000.0);
}

} // namespace

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

QuoteRecord QuoteRecord::decode(std::string_view reply)
{
    QuoteRecord r;
    r.name = gbkToUtf8(untilNul(reply.substr(0, kNameSize)));
    int32_t *fields[]
        = {&r.previousClose, &r.open,       &r.high,       &r.low,        &r.last,
           &r.bid1Price,     &r.bid1Volume, &r.bid2Price,  &r.bid2Volume, &r.bid3Price,
           &r.bid3Volume,    &r.ask1Price,  &r.ask1Volume, &r.ask2Price,  &r.ask2Volume,
           &r.ask3Price,     &r.ask3Volume, &r.volume,     &r.amount};
    size_t offset = 16;
    for (int32_t *field : fields) {
        *field = readInt32(reply, offset);
        offset += 4;
    }
    return r;
}

std::string quotePath(std::string_view code)
{
    std::string path(kQueryHead);
    path += isShanghaiCode(code) ? "GetStkOneHQWithNameSH?" : "GetStkOneHQWithNameSZ?";
    path += kAccessCode;
    path += '&';
    path += urlEscaped(code);
    return path;
}

QuoteOutcome fetchQuote(QuoteSession &session, std::string_view code, QuoteRecord &record)
{
    auto reply = session.query(quotePath(code), QuoteRecord::kReadLimit);
    if (!reply)
        return QuoteOutcome::Failed;
    if (reply->size() != QuoteRecord::kSize)
        return QuoteOutcome::Rejected;
    record = QuoteRecord::decode(*reply);
    return QuoteOutcome::Valid;
}

float changePercent(int32_t last, int32_t previousClose)
{
    if (previousClose == 0)
        return 0.0f;
    return static_cast<float>(double(int64_t(last) - previousClose) / previousClose * 100.0);
}

double changeYuan(int32_t last, int32_t previousClose)
{
    return double(int64_t(last) - previousClose) / 1000.0;
}

std::vector<std::string> quoteRowTexts(const QuoteRecord &r, std::string_view code,
                                       int interfaceSize)
{
    std::string pct = cformat("%6.2f", changePercent(r.last, r.previousClose));
    std::vector<std::string> texts {std::string(code), r.name, priceText(r.last)};
    switch (columnCount(interfaceSize)) {
    case 5:
        texts.push_back(cformat("%d", r.volume / 100));
        texts.push_back(pct);
        break;
    case 8:
        texts.push_back(cformat("%d", r.volume / 100));
        texts.push_back(cformat("%6.2f", changeYuan(r.last, r.previousClose)));
        texts.push_back(priceText(r.bid1Price));
        texts.push_back(priceText(r.ask1Price));
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
