#include "protocol/query_paths.h"
#include "protocol/ranking_reply.h"
#include "protocol/wire_format.h"

#include <gtest/gtest.h>

using namespace lark;
using namespace lark::wire;

namespace {

std::string rankingReply(int32_t count, int records, size_t size = 0)
{
    std::string bytes(size ? size : 8 + 88 * records, '\0');
    writeInt32(bytes, 4, count);
    for (int k = 0; k < records && 8 + 88 * size_t(k + 1) <= bytes.size(); ++k) {
        size_t base = 8 + 88 * k;
        writeInt32(bytes, base, 100 + k);
        writeInt32(bytes, base + 7, 10000);
        writeInt32(bytes, base + 23, 11000);
        writeInt32(bytes, base + 27, 10990);
        writeInt32(bytes, base + 51, 11010);
        writeInt32(bytes, base + 75, 123456);
    }
    return bytes;
}

} // namespace

TEST(RankingReply, PathsForEveryBoardAndOutOfRangeBoards)
{
    EXPECT_EQ(rankingPath(1, 0, 32, 16), "/stksrv_curve/JGetHq3.dll?GETORDERHQ?507193&1&1&0&32&16");
    EXPECT_EQ(rankingPath(0, 3, 0, 8), "/stksrv_curve/JGetHq3.dll?GETORDERHQ?507193&1&0&3&0&8");
    EXPECT_EQ(rankingPath(2, 3, 16, 16), "/stksrv_curve/JGetHq3.dll?GETORDERHQ?507193&0&0&3&16&16");
    EXPECT_EQ(rankingPath(3, 6, 6, 3), "/stksrv_curve/JGetHq3.dll?GETORDERHQ?507193&0&1&6&6&3");
    EXPECT_EQ(rankingPath(7, 1, 0, 3), rankingPath(2, 1, 0, 3));
    EXPECT_EQ(rankingPath(-1, 1, 0, 3), rankingPath(2, 1, 0, 3));
}

TEST(RankingReply, FieldsAtTheirOddOffsets)
{
    RankingPage page = parseRanking(rankingReply(1, 1));
    ASSERT_EQ(page.records.size(), 1u);
    const RankingRecord &r = page.records[0];
    EXPECT_EQ(r.stockNumber, 100);
    EXPECT_EQ(r.previousClose, 10000);
    EXPECT_EQ(r.last, 11000);
    EXPECT_EQ(r.bid1Price, 10990);
    EXPECT_EQ(r.ask1Price, 11010);
    EXPECT_EQ(r.volume, 123456);
}

TEST(RankingReply, CountDecidesRecordsAndLastPage)
{
    RankingPage full = parseRanking(rankingReply(16, 16));
    EXPECT_EQ(full.records.size(), 16u);
    EXPECT_FALSE(full.isLast);
    RankingPage eight = parseRanking(rankingReply(8, 8));
    EXPECT_EQ(eight.records.size(), 8u);
    EXPECT_TRUE(eight.isLast);
    for (int32_t bad : {17, -1, 1 << 30}) {
        RankingPage page = parseRanking(rankingReply(bad, 16));
        EXPECT_TRUE(page.records.empty()) << bad;
        EXPECT_TRUE(page.isLast);
    }
}

TEST(RankingReply, ShortReplyReadsOnlyWholeRecords)
{
    RankingPage page = parseRanking(rankingReply(16, 16, 8 + 88 * 10 + 50));
    EXPECT_EQ(page.records.size(), 10u);
    EXPECT_FALSE(page.isLast);
    EXPECT_TRUE(parseRanking(std::string(5, '\x10')).records.empty());
    EXPECT_TRUE(parseRanking("").records.empty());
}
