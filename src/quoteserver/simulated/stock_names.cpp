#include "quoteserver/simulated/stock_names.h"

#include "quoteserver/simulated/rng.h"

#include <array>
#include <string_view>

namespace lark::quoteserver {
namespace {

// Places and brand-like leading characters.
constexpr std::array<std::string_view, 48> kLeads {
    "浦", "华", "东", "南", "北", "中", "海", "天", "金", "长", "新", "大", "光", "民", "深", "申",
    "江", "湖", "广", "川", "云", "京", "津", "沪", "粤", "闽", "黔", "宁", "福", "兴", "宏", "鑫",
    "恒", "瑞", "昌", "远", "安", "泰", "丰", "万", "国", "春", "亚", "宝", "飞", "锦", "富", "晨"};

// Second characters: trade or quality.
constexpr std::array<std::string_view, 40> kMiddles {
    "发", "通", "达", "力", "源", "电", "汽", "钢", "化", "科", "信", "航", "建", "能",
    "药", "材", "纺", "机", "港", "运", "食", "酒", "实", "城", "地", "网", "阳", "山",
    "林", "星", "盛", "利", "凯", "龙", "华", "海", "德", "联", "友", "鸿"};

// Closing characters of three-character names.
constexpr std::array<std::string_view, 24> kEnds {"股", "业", "控", "电", "技", "源", "药", "材",
                                                  "化", "汽", "港", "通", "钢", "纸", "机", "讯",
                                                  "贸", "矿", "油", "酒", "医", "铝", "建", "光"};

// Two-character tails of four-character names.
constexpr std::array<std::string_view, 24> kTails {
    "银行", "股份", "科技", "实业", "控股", "电子", "集团", "医药", "能源", "钢铁", "汽车", "化工",
    "地产", "电力", "航空", "机械", "证券", "物流", "传媒", "环保", "重工", "材料", "食品", "置业"};

template<size_t N>
std::string_view pick(const std::array<std::string_view, N> &table, uint64_t hash, uint64_t slot)
{
    return table[mix64(hash ^ slot) % N];
}

} // namespace

std::string makeStockName(uint64_t hash, int characters)
{
    std::string name(pick(kLeads, hash, 1));
    name += pick(kMiddles, hash, 2);
    if (characters == 3)
        name += pick(kEnds, hash, 3);
    else if (characters >= 4)
        name += pick(kTails, hash, 4);
    return name;
}

} // namespace lark::quoteserver
