#include "engine/detail_texts.h"

#include "base/c_format.h"
#include "engine/volume_ratio.h"

namespace lark {
namespace {

constexpr int kCodeLabel = 1024;
constexpr int kValueLabels[] = {1023, 1040, 1025, 1044, 1041, 1042, 1043, 1028, 1029, 1030, 1031,
                                1032, 1033, 1037, 1038, 1039, 1034, 1035, 1036, 1046, 1048, 1090};

std::string price(int32_t thousandths)
{
    return cformat("%-6.2f", thousandths / 1000.0);
}

std::string lots(int32_t shares)
{
    return cformat("%-d", shares / 100);
}

} // namespace

DetailTexts detailTexts(const QuoteRecord &r, const std::string &code, int32_t baseline,
                        const std::tm &now)
{
    float ratio = volumeRatio(r.volume, baseline, now).value_or(0.0f);
    return {{kCodeLabel, code},
            {1023, r.name},
            {1040, price(r.last)},
            {1025, price(r.high)},
            {1044, price(r.low)},
            {1041, price(r.open)},
            {1042, lots(r.volume)},
            {1043, cformat("%-8.2f", r.amount / 10000.0)},
            {1028, price(r.ask1Price)},
            {1029, price(r.ask2Price)},
            {1030, price(r.ask3Price)},
            {1031, lots(r.ask1Volume)},
            {1032, lots(r.ask2Volume)},
            {1033, lots(r.ask3Volume)},
            {1037, price(r.bid1Price)},
            {1038, price(r.bid2Price)},
            {1039, price(r.bid3Price)},
            {1034, lots(r.bid1Volume)},
            {1035, lots(r.bid2Volume)},
            {1036, lots(r.bid3Volume)},
            {1046, cformat("%-6.2f", changeYuan(r.last, r.previousClose))},
            {1048, cformat("%6.2f", changePercent(r.last, r.previousClose))},
            {1090, cformat("%6.2f", ratio)}};
}

DetailTexts rejectedDetailTexts(const std::string &code)
{
    DetailTexts texts {{kCodeLabel, code}};
    for (int id : kValueLabels)
        texts.emplace_back(id, "--");
    return texts;
}

const std::vector<std::pair<int, std::string>> &detailCaptions()
{
    static const std::vector<std::pair<int, std::string>> captions {
        {1066, "买三"},   {1065, "买二"},   {1064, "买一"},   {1063, "卖三"},   {1062, "卖二"},
        {1061, "卖一"},   {1059, "成交量"}, {1068, "涨幅"},   {1067, "涨跌价"}, {1058, "开盘价"},
        {1055, "最新价"}, {1057, "最低价"}, {1056, "最高价"}, {1060, "成交额"}, {1091, "量比"}};
    return captions;
}

} // namespace lark
