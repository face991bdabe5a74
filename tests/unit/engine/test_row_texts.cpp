#include "base/gbk.h"
#include "engine/row_texts.h"
#include "protocol/wire_format.h"
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

TEST(RowTexts, RisingRowTextsCarryPrintfPaddingForEverySize)
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
TEST(RowTexts, FallingAndUnchangedPricesPickTheirColour)
{
    QuoteRecord falling = decoded(9500, 10000);
    auto texts = quoteRowTexts(falling, "0001", 1);
    EXPECT_EQ(texts[4], " -0.50");
    EXPECT_EQ(texts[7], " -5.00");
    EXPECT_EQ(rowColour(changePercent(9500, 10000)), kDownColour);

    EXPECT_EQ(quoteRowTexts(decoded(10000, 10000), "0001", 1)[7], "  0.00");
    EXPECT_EQ(rowColour(changePercent(10000, 10000)), kUpColour);
}
TEST(RowTexts, NoPreviousCloseGivesZeroChangeNeverNaN)
{
    EXPECT_EQ(changePercent(12340, 0), 0.0f);
    auto texts = quoteRowTexts(decoded(12340, 0), "0001", 1);
    EXPECT_EQ(texts[7], "  0.00");
    EXPECT_EQ(rowColour(changePercent(12340, 0)), kUpColour);
}
TEST(RowTexts, LotsAreWholeHundredsOfShares)
{
    EXPECT_EQ(quoteRowTexts(decoded(1000, 1000, 99), "0001", 1)[3], "0");
    EXPECT_EQ(quoteRowTexts(decoded(1000, 1000, -250), "0001", 1)[3], "-2");
}
TEST(RowTexts, InvalidAndEmptyRowsFillEveryColumnOfTheSize)
{
    EXPECT_EQ(
        invalidRowTexts("0001", 1),
        (std::vector<std::string> {"0001", "无效值", "---", "---", "---", "---", "---", "---"}));
    EXPECT_EQ(invalidRowTexts("0001", 2),
              (std::vector<std::string> {"0001", "无效值", "---", "---", "---"}));
    EXPECT_EQ(invalidRowTexts("0001", 3), (std::vector<std::string> {"0001", "无效值", "---"}));
    EXPECT_EQ(emptyRowTexts(2), std::vector<std::string>(5));
}

TEST(RowTexts, FundsAndBondsShowThousandthsAndAnUncarriedVolumeNoNumber)
{
    struct Case
    {
        const char *code;
        int32_t volume;
        std::vector<std::string> texts;
    } cases[] = {
        {"510300", 234567, {"12.340", "2345", " 0.340", "12.330", "12.350", "  2.83"}},
        {"128136", 234567, {"12.340", "2345", " 0.340", "12.330", "12.350", "  2.83"}},
        {"1A0001", wire::kNotCarried, {" 12.34", "---", "  0.34", " 12.33", " 12.35", "  2.83"}},
        {"688981", 234567, {" 12.34", "2345", "  0.34", " 12.33", " 12.35", "  2.83"}},
    };
    for (const Case &c : cases) {
        auto texts = quoteRowTexts(decoded(12340, 12000, c.volume), c.code, 1);
        texts.erase(texts.begin(), texts.begin() + 2);
        EXPECT_EQ(texts, c.texts) << c.code;
    }
    EXPECT_EQ(quoteRowTexts(decoded(12340, 12000, wire::kNotCarried), "399001", 2)[3], "---");
}
