#include "engine/detail_texts.h"

#include "base/c_format.h"
#include "engine/row_texts.h"
#include "engine/volume_ratio.h"
#include "protocol/instrument.h"
#include "protocol/wire_format.h"

namespace lark {
namespace {

using D = DetailControl;

constexpr D kValueLabels[]
    = {D::Name,       D::Last,      D::High,          D::Low,        D::Open,       D::Volume,
       D::Amount,     D::Ask1Price, D::Ask2Price,     D::Ask3Price,  D::Ask1Volume, D::Ask2Volume,
       D::Ask3Volume, D::Bid1Price, D::Bid2Price,     D::Bid3Price,  D::Bid1Volume, D::Bid2Volume,
       D::Bid3Volume, D::Change,    D::ChangePercent, D::VolumeRatio};

std::string lots(int32_t shares)
{
    return lotsText(shares, "%-d");
}

std::string tenThousands(int32_t yuan)
{
    return yuan == wire::kNotCarried ? "---" : cformat("%-8.2f", yuan / 10000.0);
}

} // namespace

DetailTexts detailTexts(const QuoteRecord &r, const std::string &code, int32_t baseline,
                        const std::tm &now)
{
    const float ratio = r.volume == wire::kNotCarried
        ? 0.0f
        : volumeRatio(r.volume, baseline, now).value_or(0.0f);
    const int decimals = priceDecimals(code);
    auto price = [decimals](int32_t thousandths) {
        return cformat("%-6.*f", decimals, thousandths / 1000.0);
    };
    return {{D::Code, code},
            {D::Name, r.name},
            {D::Last, price(r.last)},
            {D::High, price(r.high)},
            {D::Low, price(r.low)},
            {D::Open, price(r.open)},
            {D::Volume, lots(r.volume)},
            {D::Amount, tenThousands(r.amount)},
            {D::Ask1Price, price(r.ask1Price)},
            {D::Ask2Price, price(r.ask2Price)},
            {D::Ask3Price, price(r.ask3Price)},
            {D::Ask1Volume, lots(r.ask1Volume)},
            {D::Ask2Volume, lots(r.ask2Volume)},
            {D::Ask3Volume, lots(r.ask3Volume)},
            {D::Bid1Price, price(r.bid1Price)},
            {D::Bid2Price, price(r.bid2Price)},
            {D::Bid3Price, price(r.bid3Price)},
            {D::Bid1Volume, lots(r.bid1Volume)},
            {D::Bid2Volume, lots(r.bid2Volume)},
            {D::Bid3Volume, lots(r.bid3Volume)},
            {D::Change, cformat("%-6.*f", decimals, changeYuan(r.last, r.previousClose))},
            {D::ChangePercent, cformat("%6.2f", changePercent(r.last, r.previousClose))},
            {D::VolumeRatio, cformat("%6.2f", ratio)}};
}

DetailTexts rejectedDetailTexts(const std::string &code)
{
    DetailTexts texts {{D::Code, code}};
    for (D id : kValueLabels)
        texts.emplace_back(id, "--");
    return texts;
}

const DetailTexts &detailCaptions()
{
    static const DetailTexts captions {
        {D::Bid3Caption, "买三"},       {D::Bid2Caption, "买二"},
        {D::Bid1Caption, "买一"},       {D::Ask3Caption, "卖三"},
        {D::Ask2Caption, "卖二"},       {D::Ask1Caption, "卖一"},
        {D::VolumeCaption, "成交量"},   {D::ChangePercentCaption, "涨幅"},
        {D::ChangeCaption, "涨跌价"},   {D::OpenCaption, "开盘价"},
        {D::LastCaption, "最新价"},     {D::LowCaption, "最低价"},
        {D::HighCaption, "最高价"},     {D::AmountCaption, "成交额"},
        {D::VolumeRatioCaption, "量比"}};
    return captions;
}

} // namespace lark
