#pragma once

#include "protocol/quote_figures.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The quote server's protocol as the client and the server both speak it: every path, query
// name, record size, offset, field order and marker. Numbers are 32-bit little-endian, and
// fields may stand at odd offsets.
namespace lark::wire {

// Every query path is kQueryHead + query name + "?" + kAccessCode + "&argument"...
inline constexpr std::string_view kQueryHead = "/stksrv_curve/JGetHq3.dll?";
inline constexpr std::string_view kAccessCode = "507193";

inline constexpr std::string_view kQuoteQueryShanghai = "GetStkOneHQWithNameSH";
inline constexpr std::string_view kQuoteQueryShenzhen = "GetStkOneHQWithNameSZ";
inline constexpr std::string_view kHistoryQueryShanghai = "GetDayHisSH";
inline constexpr std::string_view kHistoryQueryShenzhen = "GetDayHisSZ";
inline constexpr std::string_view kStockListQueryShanghai = "getstkmsgsh";
inline constexpr std::string_view kStockListQueryShenzhen = "getstkmsgsz";
inline constexpr std::string_view kRankingQuery = "GETORDERHQ";

// Files and pages beside the queries: on the quote server, the chart server and the web site.
inline constexpr std::string_view kVersionPath = "/stksrv_curve/version.txt";
inline constexpr std::string_view kChartPagePath = "/stksrv_curve/Chart.asp";
inline constexpr std::string_view kChartCodeArgument = "STKNO";
inline constexpr std::string_view kTodayTipPath = "/jinribd/jrtishi.asp";
inline constexpr std::string_view kWeeklyMemoPath = "/jinribd/yizhoutz.asp";
inline constexpr std::string_view kDownloadPath = "/download/download/tamberly.zip";

// Real-time quote: one record of exactly kQuoteSize bytes, read with at most kQuoteReadLimit.
inline constexpr size_t kQuoteSize = 97;
inline constexpr size_t kQuoteReadLimit = 102;
inline constexpr size_t kNameSize = 8; // GBK, NUL padded, unterminated when full
inline constexpr size_t kQuoteNameOffset = 0;
inline constexpr size_t kQuoteFiguresOffset = 16;

// The figures in the order the quote record carries them, four bytes each from
// kQuoteFiguresOffset on.
inline constexpr std::array<int32_t QuoteFigures::*, 19> kQuoteFigureOrder {
    &QuoteFigures::previousClose, &QuoteFigures::open,       &QuoteFigures::high,
    &QuoteFigures::low,           &QuoteFigures::last,       &QuoteFigures::bid1Price,
    &QuoteFigures::bid1Volume,    &QuoteFigures::bid2Price,  &QuoteFigures::bid2Volume,
    &QuoteFigures::bid3Price,     &QuoteFigures::bid3Volume, &QuoteFigures::ask1Price,
    &QuoteFigures::ask1Volume,    &QuoteFigures::ask2Price,  &QuoteFigures::ask2Volume,
    &QuoteFigures::ask3Price,     &QuoteFigures::ask3Volume, &QuoteFigures::volume,
    &QuoteFigures::amount};

// A volume or amount too large for its 32-bit field (an index's day volume in shares) travels
// as this value: the client shows no number for it rather than a wrong one.
inline constexpr int32_t kNotCarried = INT32_MIN;

// Where a figure stands, counted from the start of the figures.
constexpr size_t figureOffset(int32_t QuoteFigures::*figure)
{
    for (size_t i = 0; i < kQuoteFigureOrder.size(); ++i) {
        if (kQuoteFigureOrder[i] == figure)
            return 4 * i;
    }
    return 0;
}

// Day history: a header, then records of kHistoryRecordSize bytes.
inline constexpr size_t kHistoryHeaderSize = 10;
inline constexpr size_t kHistoryRecordSize = 40;
inline constexpr size_t kHistoryDateOffset = 0; // YYYYMMDD
inline constexpr size_t kHistoryOpenOffset = 4;
inline constexpr size_t kHistoryHighOffset = 8;
inline constexpr size_t kHistoryLowOffset = 12;
inline constexpr size_t kHistoryCloseOffset = 16;
inline constexpr size_t kHistoryVolumeOffset = 24; // lots of 100 shares
inline constexpr size_t kHistoryAmountOffset = 28; // thousands of yuan
inline constexpr int kHistoryRecordLimit = 96; // asked for, and what the read is sized for
inline constexpr size_t kHistoryReadLimit = kHistoryRecordLimit * kHistoryRecordSize + 128;
inline constexpr std::string_view kHistoryFixedArguments = "1&1";

// Ranking: a header with the row count at kRankingCountOffset, then up to kRankingPageMax
// records; each carries the quote's figures nine bytes earlier than the quote record does.
inline constexpr int kRankingPageMax = 16;
inline constexpr size_t kRankingHeaderSize = 8;
inline constexpr size_t kRankingTotalOffset = 0; // the board's row count, for the server's own use
inline constexpr size_t kRankingCountOffset = 4;
inline constexpr size_t kRankingRecordSize = 88;
inline constexpr size_t kRankingNumberOffset = 0;
inline constexpr size_t kRankingFiguresOffset = kQuoteFiguresOffset - 9;
inline constexpr size_t kRankingReadLimit
    = kRankingHeaderSize + kRankingPageMax * kRankingRecordSize;
// Board 0 SH A, 1 SH B, 2 SZ A, 3 SZ B: the exchange (1 Shanghai) and the share class (1 B).
inline constexpr std::array<std::string_view, 4> kRankingBoards {"1&0", "1&1", "0&0", "0&1"};
inline constexpr int kRankingDefaultBoard = 2;

// Stock lists: records of kStockRecordSize bytes, no header.
inline constexpr size_t kStockRecordSize = 16;
inline constexpr size_t kStockKindOffset = 0;
inline constexpr size_t kStockCodeOffset = 1;
inline constexpr size_t kStockCodeSize = 6;
inline constexpr size_t kStockNameOffset = 7;
// The kind byte that marks a record the numbering skips, per market.
inline constexpr char kShanghaiSkipMarker = 0x10;
inline constexpr char kShenzhenSkipMarker = 0x20;

inline int32_t readInt32(std::string_view bytes, size_t offset)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data() + offset);
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    return static_cast<int32_t>(v);
}

inline void writeInt32(std::string &bytes, size_t offset, int32_t value)
{
    auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The figures of a quote or ranking record that starts at offset.
inline QuoteFigures readFigures(std::string_view bytes, size_t offset)
{
    QuoteFigures figures;
    for (int32_t QuoteFigures::*figure : kQuoteFigureOrder) {
        figures.*figure = readInt32(bytes, offset);
        offset += 4;
    }
    return figures;
}

inline void writeFigures(std::string &bytes, size_t offset, const QuoteFigures &figures)
{
    for (int32_t QuoteFigures::*figure : kQuoteFigureOrder) {
        writeInt32(bytes, offset, figures.*figure);
        offset += 4;
    }
}

} // namespace lark::wire
