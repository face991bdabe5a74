#include "protocol/gbk.h"
#include "protocol/quote_record.h"
#include "support/reply_bytes.h"

#include <gtest/gtest.h>

using namespace lark;
using namespace lark::test;

namespace {

QuoteRecord decoded(int32_t last, int32_t previousClose, int32_t volume = 0)
{
    return QuoteRecord::decode(quoteReply(utf8ToGbk("平安银行"),
                                          {{kPrevClose, previousClose},
                                           {kLast, last},
                                           {kVolume, volume},
                                           {kBid1, 12330},
                                           {kAsk1, 12350}}));
}

} // namespace

TEST(QuoteRecord, RisingRowTextsCarryPrintfPaddingForEverySize)
{
    QuoteRecord r = decoded(12340, 12000, 234567);
    EXPECT_EQ(quoteRowTexts(r, "600061", 1),
              (std::vector<std::string> {"600061", "平安银行", " 12.34", "2345", "  0.34", " 12.33",
                                         " 12.35", "  2.83"}));
    EXPECT_EQ(quoteRowTexts(r, "600061", 2),
              (std::vector<std::string> {"600061", "平安银行", " 12.34", "2345", "  2.83"}));
    EXPECT_EQ(quoteRowTexts(r, "600061", 3),
              (std::vector<std::string> {"600061", "平安银行", " 12.34"}));
    EXPECT_EQ(rowColour(changePercent(r.last, r.previousClose)), kUpColour);
}

TEST(QuoteRecord, FallingAndUnchangedPricesPickTheirColour)
{
    QuoteRecord falling = decoded(9500, 10000);
    auto texts = quoteRowTexts(falling, "0001", 1);
    EXPECT_EQ(texts[4], " -0.50");
    EXPECT_EQ(texts[7], " -5.00");
    EXPECT_EQ(rowColour(changePercent(9500, 10000)), kDownColour);

    EXPECT_EQ(quoteRowTexts(decoded(10000, 10000), "0001", 1)[7], "  0.00");
    EXPECT_EQ(rowColour(changePercent(10000, 10000)), kUpColour);
}

TEST(QuoteRecord, NoPreviousCloseGivesZeroChangeNeverNaN)
{
    EXPECT_EQ(changePercent(12340, 0), 0.0f);
    auto texts = quoteRowTexts(decoded(12340, 0), "0001", 1);
    EXPECT_EQ(texts[7], "  0.00");
    EXPECT_EQ(rowColour(changePercent(12340, 0)), kUpColour);
}

TEST(QuoteRecord, LotsAreWholeHundredsOfShares)
{
    EXPECT_EQ(quoteRowTexts(decoded(1000, 1000, 99), "0001", 1)[3], "0");
    EXPECT_EQ(quoteRowTexts(decoded(1000, 1000, -250), "0001", 1)[3], "-2");
}

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

TEST(QuoteRecord, InvalidAndEmptyRowsFillEveryColumnOfTheSize)
{
    EXPECT_EQ(
        invalidRowTexts("0001", 1),
        (std::vector<std::string> {"0001", "无效值", "---", "---", "---", "---", "---", "---"}));
    EXPECT_EQ(invalidRowTexts("0001", 2),
              (std::vector<std::string> {"0001", "无效值", "---", "---", "---"}));
    EXPECT_EQ(invalidRowTexts("0001", 3), (std::vector<std::string> {"0001", "无效值", "---"}));
    EXPECT_EQ(emptyRowTexts(2), std::vector<std::string>(5));
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
