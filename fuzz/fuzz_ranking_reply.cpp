// The ranking reply and the rows made of it: an 8-byte header (total, count), then 88-byte
// records whose stock number is looked up in the stock directory.

#include "base/gbk.h"
#include "engine/row_texts.h"
#include "engine/stock_directory.h"
#include "fuzz_check.h"
#include "protocol/quote_record.h"
#include "protocol/ranking_reply.h"
#include "protocol/wire_format.h"

#include <algorithm>

using namespace lark;

namespace {

constexpr int kShanghaiCount = 24, kShanghaiMarkers = 3;
constexpr int kShenzhenCount = 17, kShenzhenMarkers = 2;

// Markers first, as the server sends them; names hold valid, cut and invalid GBK.
StockList makeList(int count, int markers, char marker, char codeDigit)
{
    static const std::string_view names[] = {
        std::string_view("\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0", 8),
        std::string_view("AB\0\0\0\0\0\0", 8),
        std::string_view("\xB9\xA4\xC9\xCC\xD2\xF8\xD0\xD0", 8),
        std::string_view("\x80\xFF\xC6\x20\xD2\xF8\xD0\xD0", 8),
        std::string_view("\xC6\xD6\xB7\xA2\xD2\xF8\xD0\x00", 8),
    };
    std::string bytes;
    for (int k = 0; k < count; ++k) {
        std::string record(wire::kStockRecordSize, '\0');
        record[0] = k < markers ? marker : '\0';
        std::string code = std::to_string(k);
        code.insert(0, 6 - code.size() - 1, '0');
        record.replace(1, 6, codeDigit + code);
        record.replace(7, 8, names[k % std::size(names)]);
        bytes += record;
    }
    return StockList::fromReply(bytes, marker);
}

const StockDirectory &directory()
{
    static const StockDirectory d = [] {
        StockDirectory made;
        made.load({makeList(kShanghaiCount, kShanghaiMarkers, wire::kShanghaiSkipMarker, '6'),
                   makeList(kShenzhenCount, kShenzhenMarkers, wire::kShenzhenSkipMarker, '0'), true,
                   true});
        return made;
    }();
    return d;
}

// Shanghai numbers count from the first record after the markers; Shenzhen numbers start at
// the Shanghai record count. Anything else, negative numbers included, names no stock.
bool namesStock(int64_t number)
{
    return (number >= 0 && number < kShanghaiCount - kShanghaiMarkers)
        || (number >= kShanghaiCount
            && number < kShanghaiCount + kShenzhenCount - kShenzhenMarkers);
}

void checkRow(const RankingRecord &r)
{
    const std::string code = directory().stockCodeAt(r.stockNumber);
    const std::string name = directory().stockNameAt(r.stockNumber);
    const bool blank = code == "     ";
    LARK_FUZZ_CHECK(blank || code.size() == 6);
    LARK_FUZZ_CHECK(name.size() == (blank ? 7u : 8u));
    LARK_FUZZ_CHECK(!blank || name == "       ");
    LARK_FUZZ_CHECK(blank != namesStock(r.stockNumber));

    // As the engine writes a ranking row.
    QuoteRecord quote;
    quote.name = gbkToUtf8(untilNul(name));
    quote.previousClose = r.previousClose;
    quote.last = r.last;
    quote.bid1Price = r.bid1Price;
    quote.ask1Price = r.ask1Price;
    quote.volume = r.volume;
    LARK_FUZZ_CHECK(fuzz::isValidUtf8(quote.name));
    const std::string rowCode(untilNul(code));
    const auto texts = quoteRowTexts(quote, rowCode, 1);
    LARK_FUZZ_CHECK(texts.size() == 8);
    LARK_FUZZ_CHECK(texts[0] == rowCode && texts[1] == quote.name);
    for (size_t k = 2; k < texts.size(); ++k)
        LARK_FUZZ_CHECK(!fuzz::showsNonNumber(texts[k]));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view reply = fuzz::asBytes(data, size);
    const RankingPage page = parseRanking(reply);

    const int32_t count = reply.size() >= 8 ? fuzz::wireInt32(reply, 4) : 0;
    const size_t whole = reply.size() >= 8 ? (reply.size() - 8) / wire::kRankingRecordSize : 0;
    const size_t expected
        = count >= 0 && count <= wire::kRankingPageMax ? std::min<size_t>(count, whole) : 0;
    LARK_FUZZ_CHECK(page.records.size() <= static_cast<size_t>(wire::kRankingPageMax));
    LARK_FUZZ_CHECK(page.records.size() == expected);
    // A full page may have a next one; a short, empty or malformed one ends the board.
    LARK_FUZZ_CHECK(page.isLast == (count != wire::kRankingPageMax));
    for (size_t k = 0; k < page.records.size(); ++k) {
        LARK_FUZZ_CHECK(page.records[k].stockNumber
                        == fuzz::wireInt32(reply, 8 + k * wire::kRankingRecordSize));
        checkRow(page.records[k]);
    }
    return 0;
}
