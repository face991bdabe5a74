#include "quoteserver/wire_replies.h"

#include "protocol/wire_format.h"

#include <algorithm>

namespace lark::quoteserver {

using namespace wire;

void writeText(std::string &bytes, size_t offset, size_t size, std::string_view text)
{
    std::fill_n(bytes.begin() + offset, size, '\0');
    std::copy_n(text.begin(), std::min(size, text.size()), bytes.begin() + offset);
}

std::string encodeQuote(const Quote &q)
{
    std::string bytes(kQuoteSize, '\0');
    writeText(bytes, kQuoteNameOffset, kNameSize, q.nameGbk);
    writeFigures(bytes, kQuoteFiguresOffset, q);
    return bytes;
}

std::string encodeHistory(const std::vector<DayRecord> &records)
{
    std::string bytes(kHistoryHeaderSize + kHistoryRecordSize * records.size(), '\0');
    // The header is not read by clients; the count helps a reader of a dump.
    writeInt32(bytes, 0, static_cast<int32_t>(records.size()));
    size_t offset = kHistoryHeaderSize;
    for (const DayRecord &r : records) {
        writeInt32(bytes, offset + kHistoryDateOffset, r.date);
        writeInt32(bytes, offset + kHistoryOpenOffset, r.open);
        writeInt32(bytes, offset + kHistoryHighOffset, r.high);
        writeInt32(bytes, offset + kHistoryLowOffset, r.low);
        writeInt32(bytes, offset + kHistoryCloseOffset, r.close);
        writeInt32(bytes, offset + kHistoryVolumeOffset, r.volumeLots);
        writeInt32(bytes, offset + kHistoryAmountOffset, r.amountThousands);
        offset += kHistoryRecordSize;
    }
    return bytes;
}

std::string encodeStockList(const std::vector<ListedStock> &entries)
{
    std::string bytes(kStockRecordSize * entries.size(), '\0');
    size_t offset = 0;
    for (const ListedStock &e : entries) {
        bytes[offset + kStockKindOffset] = static_cast<char>(e.kind);
        writeText(bytes, offset + kStockCodeOffset, kStockCodeSize, e.code);
        writeText(bytes, offset + kStockNameOffset, kNameSize, e.nameGbk);
        offset += kStockRecordSize;
    }
    return bytes;
}

int32_t rankingPageRows(int32_t total, int32_t first, int32_t wanted)
{
    if (first < 0 || first >= total)
        return 0;
    return std::clamp(std::min<int32_t>(wanted, kRankingPageMax), 0, total - first);
}

std::string encodeRanking(const RankingPage &page)
{
    const auto count = static_cast<int32_t>(page.rows.size());
    std::string bytes(kRankingHeaderSize + kRankingRecordSize * count, '\0');
    writeInt32(bytes, kRankingTotalOffset, page.total);
    writeInt32(bytes, kRankingCountOffset, count);
    for (int32_t i = 0; i < count; ++i) {
        const size_t base = kRankingHeaderSize + kRankingRecordSize * i;
        writeInt32(bytes, base + kRankingNumberOffset, page.rows[i].number);
        writeFigures(bytes, base + kRankingFiguresOffset, page.rows[i].quote);
    }
    return bytes;
}

} // namespace lark::quoteserver
