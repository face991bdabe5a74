#include "quoteserver/wire_replies.h"

#include "protocol/wire.h"

#include <algorithm>

namespace lark::sim {
namespace {

// From previousClose to amount, every four bytes, in the real-time quote's order.
void writeFigures(std::string &bytes, size_t offset, const Quote &q)
{
    const int32_t fields[]
        = {q.previousClose, q.open,       q.high,       q.low,        q.last,
           q.bid1Price,     q.bid1Volume, q.bid2Price,  q.bid2Volume, q.bid3Price,
           q.bid3Volume,    q.ask1Price,  q.ask1Volume, q.ask2Price,  q.ask2Volume,
           q.ask3Price,     q.ask3Volume, q.volume,     q.amount};
    for (int32_t value : fields) {
        writeInt32(bytes, offset, value);
        offset += 4;
    }
}

} // namespace

void writeText(std::string &bytes, size_t offset, size_t size, std::string_view text)
{
    std::fill_n(bytes.begin() + offset, size, '\0');
    std::copy_n(text.begin(), std::min(size, text.size()), bytes.begin() + offset);
}

std::string encodeQuote(const Quote &q)
{
    std::string bytes(kQuoteReplySize, '\0');
    writeText(bytes, 0, 8, q.nameGbk);
    writeFigures(bytes, 16, q);
    return bytes;
}

std::string encodeHistory(const std::vector<DayRecord> &records)
{
    std::string bytes(kHistoryHeaderSize + kHistoryRecordSize * records.size(), '\0');
    writeInt32(bytes, 0, static_cast<int32_t>(records.size()));
    size_t offset = kHistoryHeaderSize;
    for (const DayRecord &r : records) {
        writeInt32(bytes, offset + 0, r.date);
        writeInt32(bytes, offset + 4, r.open);
        writeInt32(bytes, offset + 8, r.high);
        writeInt32(bytes, offset + 12, r.low);
        writeInt32(bytes, offset + 16, r.close);
        writeInt32(bytes, offset + 24, r.volumeLots);
        writeInt32(bytes, offset + 28, r.amountThousands);
        offset += kHistoryRecordSize;
    }
    return bytes;
}

std::string encodeStockList(const std::vector<ListedStock> &entries)
{
    std::string bytes(kListRecordSize * entries.size(), '\0');
    size_t offset = 0;
    for (const ListedStock &e : entries) {
        bytes[offset] = static_cast<char>(e.kind);
        writeText(bytes, offset + 1, 6, e.code);
        writeText(bytes, offset + 7, 8, e.nameGbk);
        offset += kListRecordSize;
    }
    return bytes;
}

int32_t rankingPageRows(int32_t total, int32_t first, int32_t wanted)
{
    if (first < 0 || first >= total)
        return 0;
    return std::clamp(std::min(wanted, kRankingPageMax), 0, total - first);
}

std::string encodeRanking(const RankingPage &page)
{
    const auto count = static_cast<int32_t>(page.rows.size());
    std::string bytes(kRankingHeaderSize + kRankingRecordSize * count, '\0');
    writeInt32(bytes, 0, page.total);
    writeInt32(bytes, 4, count);
    for (int32_t i = 0; i < count; ++i) {
        const size_t base = kRankingHeaderSize + kRankingRecordSize * i;
        writeInt32(bytes, base, page.rows[i].number);
        // The quote's figures, nine bytes earlier than in the real-time reply.
        writeFigures(bytes, base + 7, page.rows[i].quote);
    }
    return bytes;
}

} // namespace lark::sim
