#include "stock_directory.h"

#include <gtest/gtest.h>

using namespace lark;

namespace {

// count records; the first `markers` carry the marker byte; record k's code is its number.
StockList list(int count, int markers, char marker)
{
    std::string bytes;
    for (int k = 0; k < count; ++k) {
        std::string record(16, '\0');
        record[0] = k < markers ? marker : 0;
        std::string code = std::to_string(k);
        code.resize(6, ' ');
        record.replace(1, 6, code);
        record.replace(7, 8, "NAME" + std::to_string(k % 10) + "   ");
        bytes += record;
    }
    return StockList::fromReply(bytes, marker);
}

StockDirectory loaded(int shCount, int shSkip, int szCount, int szSkip)
{
    StockLists lists {list(shCount, shSkip, kShanghaiSkipMarker),
                      list(szCount, szSkip, kShenzhenSkipMarker), true, true};
    StockDirectory directory;
    directory.load(lists);
    return directory;
}

} // namespace

TEST(StockDirectory, NumbersSkipMarkersAndCrossIntoShenzhen)
{
    StockDirectory d = loaded(1000, 12, 500, 20);
    EXPECT_EQ(d.stockCodeAt(0), "12    ");
    EXPECT_EQ(d.stockCodeAt(987), "999   ");
    EXPECT_EQ(d.stockCodeAt(1000), "20    ");
    EXPECT_EQ(d.stockNameAt(1000), "NAME0   ");
    EXPECT_EQ(d.stockCodeAt(1479), "499   ");
}

// Negative numbers name no stock, not even the marker records they would reach.
TEST(StockDirectory, PositionsOutsideAListGiveBlanks)
{
    StockDirectory d = loaded(1000, 12, 500, 20);
    for (int number : {990, 1480, -1, -13, -100000, 2'000'000'000}) {
        EXPECT_EQ(d.stockCodeAt(number), "     ") << number;
        EXPECT_EQ(d.stockNameAt(number), "       ") << number;
    }
    StockDirectory empty;
    EXPECT_EQ(empty.stockCodeAt(0), "     ");
    EXPECT_EQ(empty.stockNameAt(0), "       ");
}

TEST(StockDirectory, MarkersCountOnlyInTheirOwnMarket)
{
    std::string bytes(32, '\0');
    bytes[0] = kShenzhenSkipMarker;
    bytes[16] = kShanghaiSkipMarker;
    EXPECT_EQ(StockList::fromReply(bytes, kShanghaiSkipMarker).skip, 1);
    EXPECT_EQ(StockList::fromReply(bytes, kShenzhenSkipMarker).skip, 1);
    EXPECT_EQ(StockList::fromReply(bytes + "tail", kShanghaiSkipMarker).count, 2);
    EXPECT_EQ(StockList::fromReply(std::string(15, '\0'), kShanghaiSkipMarker).count, 0);
}
