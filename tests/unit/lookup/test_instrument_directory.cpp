#include "base/gbk.h"
#include "lookup/directory_listings.h"
#include "lookup/instrument_directory.h"
#include "protocol/wire_format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace lark;

namespace {

struct Record
{
    bool marker;
    const char *code;
    const char *name;
};

StockList stockList(const std::vector<Record> &records, char marker)
{
    std::string bytes;
    for (const Record &r : records) {
        std::string record(wire::kStockRecordSize, '\0');
        record[wire::kStockKindOffset] = r.marker ? marker : 0;
        record.replace(wire::kStockCodeOffset, std::string(r.code).size(), r.code);
        const std::string name = utf8ToGbk(r.name);
        record.replace(wire::kStockNameOffset, name.size(), name);
        bytes += record;
    }
    return StockList::fromReply(bytes, marker);
}

// The simulated market's index-like entries heading each list, then the boards' stocks as the
// live market's lists name them (tests/data/live/boards_*.json).
StockLists marketLists()
{
    const StockList shanghai = stockList({{true, "000001", "上证指数"},
                                          {true, "000002", "Ａ股指数"},
                                          {false, "600061", "国投资本"},
                                          {false, "600062", "华润双鹤"},
                                          {false, "600066", "宇通客车"},
                                          {false, "600519", "贵州茅台"},
                                          {false, "688981", "中芯国际"},
                                          {false, "900948", "伊泰Ｂ股"}},
                                         wire::kShanghaiSkipMarker);
    const StockList shenzhen = stockList({{true, "399001", "深证成指"},
                                          {false, "000001", "平安银行"},
                                          {false, "000002", "万  科Ａ"},
                                          {false, "000006", "深振业Ａ"},
                                          {false, "000008", "神州高铁"},
                                          {false, "200011", "深物业B"}},
                                         wire::kShenzhenSkipMarker);
    return {shanghai, shenzhen, true, true};
}

const InstrumentDirectory &directory()
{
    static const InstrumentDirectory built(directoryListings(marketLists()));
    return built;
}

using K = MatchKind;
using S = InstrumentKind;

} // namespace

TEST(DirectoryListings, ListsIndicesAsTypedAndOfferedInstrumentsOnce)
{
    const StockLists lists {stockList({{true, "000001", "上证指数"}, {false, "600061", "国投资本"}},
                                      wire::kShanghaiSkipMarker),
                            stockList({{true, "399001", "深证成指"},
                                       {false, "0001", "深发展Ａ"},
                                       {false, "200011", "深物业B"}},
                                      wire::kShenzhenSkipMarker),
                            true, true};
    const std::vector<Listing> expected {
        {"0001", "深发展Ａ", Exchange::Shenzhen, S::Stock},
        {"159915", "创业ETF", Exchange::Shenzhen, S::Fund},
        {"1A0001", "上证指数", Exchange::Shanghai, S::Index},
        {"1A0300", "沪深300", Exchange::Shanghai, S::Index},
        {"1A0688", "科创50", Exchange::Shanghai, S::Index},
        {"200011", "深物业B", Exchange::Shenzhen, S::BShare},
        {"399001", "深证成指", Exchange::Shenzhen, S::Index},
        {"399006", "创业板指", Exchange::Shenzhen, S::Index},
        {"510300", "300ETF", Exchange::Shanghai, S::Fund},
        {"600061", "国投资本", Exchange::Shanghai, S::Stock},
    };
    EXPECT_EQ(directoryListings(lists), expected);
}

struct FindCase
{
    const char *typed;
    size_t limit;
    std::vector<std::pair<std::string, MatchKind>> expected; // code and kind, best first
};

class DirectoryFind : public testing::TestWithParam<FindCase>
{
};

TEST_P(DirectoryFind, RanksMatches)
{
    const FindCase &c = GetParam();
    std::vector<std::pair<std::string, MatchKind>> found;
    for (const Match &m : directory().find(c.typed, c.limit))
        found.emplace_back(m.listing.code, m.kind);
    EXPECT_EQ(found, c.expected) << c.typed;
}

INSTANTIATE_TEST_SUITE_P(
    Typed, DirectoryFind,
    testing::Values(
        // Initials, in either case; full pinyin; a mix; from a later character on.
        FindCase {"payh", 20, {{"000001", K::Pinyin}}},
        FindCase {"PAYH", 20, {{"000001", K::Pinyin}}},
        FindCase {"pinganyinhang", 20, {{"000001", K::Pinyin}}},
        FindCase {"pingayinh", 20, {{"000001", K::Pinyin}}},
        FindCase {"zhongxin", 20, {{"688981", K::Pinyin}}},
        FindCase {"yinh", 20, {{"000001", K::Pinyin}}},
        // Every reading of a character with several: 行 xing and hang, 车 che and ju.
        FindCase {"pinganyinxing", 20, {{"000001", K::Pinyin}}},
        FindCase {"ytkc", 20, {{"600066", K::Pinyin}}},
        FindCase {"ytkj", 20, {{"600066", K::Pinyin}}},
        // Names as written, full-width letters and spaces folded; Chinese and pinyin mixed.
        FindCase {"平安", 20, {{"000001", K::Name}}}, FindCase {"万科a", 20, {{"000002", K::Name}}},
        FindCase {"wka", 20, {{"000002", K::Pinyin}}},
        FindCase {"平安yh", 20, {{"000001", K::Pinyin}}},
        FindCase {"hs300", 20, {{"1A0300", K::Pinyin}}},
        FindCase {"300", 20, {{"510300", K::Name}, {"1A0300", K::Name}}},
        FindCase {"cyetf", 20, {{"159915", K::Pinyin}}},
        // Codes: both Shenzhen forms, starts, the Shanghai indices by "1A"; earlier in the name
        // before later, then shorter names.
        FindCase {"0001", 20, {{"000001", K::ExactCode}}},
        FindCase {"000001", 20, {{"000001", K::ExactCode}}},
        FindCase {
            "0000",
            3,
            {{"000001", K::CodePrefix}, {"000002", K::CodePrefix}, {"000006", K::CodePrefix}}},
        FindCase {"1A00", 20, {{"1A0001", K::CodePrefix}, {"1A0002", K::CodePrefix}}},
        FindCase {"1a",
                  20,
                  {{"1A0001", K::CodePrefix},
                   {"1A0002", K::CodePrefix},
                   {"1A0300", K::CodePrefix},
                   {"1A0688", K::CodePrefix}}},
        FindCase {"1a0001", 20, {{"1A0001", K::ExactCode}}},
        FindCase {"399", 20, {{"399001", K::CodePrefix}, {"399006", K::CodePrefix}}},
        FindCase {"gt", 20, {{"600061", K::Pinyin}, {"000008", K::Pinyin}}},
        // Nothing.
        FindCase {"zzzz", 20, {}}, FindCase {"999999", 20, {}}, FindCase {"", 20, {}},
        FindCase {"  ", 20, {}}));
