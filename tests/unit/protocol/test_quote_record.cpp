#include "base/gbk.h"
#include "protocol/query_paths.h"
#include "protocol/quote_record.h"
#include "protocol/stock_code.h"
#include "support/reply_bytes.h"

#include <gtest/gtest.h>

using namespace lark;
using namespace lark::test;

TEST(QuoteRecord, NameEndsAtFirstNulOrAfterEightBytes)
{
    std::string full = utf8ToGbk("深发展甲"); // four characters, all 8 bytes
    ASSERT_EQ(full.size(), 8u);
    EXPECT_EQ(QuoteRecord::decode(quoteReply(full + "XY", {})).name, "深发展甲");
    EXPECT_EQ(QuoteRecord::decode(quoteReply(utf8ToGbk("万科"), {})).name, "万科");
    EXPECT_EQ(QuoteRecord::decode(quoteReply(std::string("AB\0\0\0\0\0\0", 8), {})).name, "AB");
}
TEST(QuoteRecord, FieldsAreLittleEndianWhateverTheirSign)
{
    QuoteRecord r = QuoteRecord::decode(quoteReply("", {{kHigh, -2}, {kAmount, 0x01020304}}));
    EXPECT_EQ(r.high, -2);
    EXPECT_EQ(r.amount, 0x01020304);
}
TEST(QuoteRecord, CodeLengthChoosesTheMarketForm)
{
    EXPECT_EQ(quotePath("0001"), "/stksrv_curve/JGetHq3.dll?GetStkOneHQWithNameSZ?507193&0001");
    EXPECT_EQ(quotePath("600061"), "/stksrv_curve/JGetHq3.dll?GetStkOneHQWithNameSH?507193&600061");
    EXPECT_TRUE(isShanghaiCode("600061"));
    EXPECT_FALSE(isShanghaiCode("00001"));
    EXPECT_TRUE(isEmptyCode("12"));
    EXPECT_FALSE(isEmptyCode("0001"));
}
