#pragma once

#include "quoteserver/quote_types.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lark::quoteserver {

enum class Board { ShanghaiA, ShanghaiB, ShenzhenA, ShenzhenB };

inline bool isShanghai(Board board)
{
    return board == Board::ShanghaiA || board == Board::ShanghaiB;
}

enum class SortKey { Code, Amount, Volume, Rise, Fall, Amplitude, OrderRatio };

// One day of a stock's history as served: volume in lots of 100 shares.
struct DayRecord
{
    int32_t date = 0; // YYYYMMDD
    int32_t open = 0, high = 0, low = 0, close = 0;
    int32_t volumeLots = 0;
    int32_t amountThousands = 0; // thousands of yuan
};

// One record of a market's stock list, as the client keeps it.
struct ListedStock
{
    uint8_t kind = 0; // the market's marker kind for index-like entries, else 0
    std::string code;
    std::string nameGbk;
};

// A ranking page: the board's row count and the rows asked for, best first.
struct RankedRow
{
    int32_t number = 0; // the stock's number in the lists the source serves
    Quote quote;
};
struct RankingPage
{
    int32_t total = 0;
    std::vector<RankedRow> rows;
};

// Minutes of trading in a day: 09:30-11:30 and 13:00-15:00.
inline constexpr int kSessionMinutes = 240;

// One point of the day's price path: minutes of trading since 09:30 (0 to 240),
// price in thousandths of a yuan, cumulative volume in shares (an index's runs into the
// billions), negative where it is not known.
struct PathPoint
{
    double minute = 0;
    int32_t price = 0;
    int64_t volume = 0;
};

// What the chart page shows of one stock.
struct ChartFigures
{
    std::string code;
    Quote quote;
    std::vector<PathPoint> path;
    std::string financePage; // the stock's page on a public finance site; empty when simulated
};

// What a source made of one question: figures, a code the market does not know, or no
// answer at all (the source could not get the figures; nothing is made up in their place).
enum class Outcome { Answered, Unknown, Failed };

template<typename T>
struct Answer
{
    Outcome outcome = Outcome::Failed;
    T value {};

    static Answer of(T value) { return {Outcome::Answered, std::move(value)}; }
    static Answer unknown() { return {Outcome::Unknown, {}}; }
    static Answer failed() { return {Outcome::Failed, {}}; }
};

struct MarketStatus
{
    bool live = false;
    // Set while the source gets no figures from where they come from.
    std::optional<std::time_t> failingSince;
    // The exchanges do not trade now: the figures are the last of their day.
    bool closed = false;
};

// Where the figures come from. The quote server's HTTP side asks one of these for every
// reply; a source may be asked from several threads at once.
class MarketSource
{
public:
    virtual ~MarketSource() = default;

    // code is as the request carried it; shanghaiForm tells which query name it came in.
    virtual Answer<Quote> quote(std::string_view code, bool shanghaiForm) = 0;
    // Days from firstDay up to, not including, endDay (days count from 1970-01-01).
    virtual Answer<std::vector<DayRecord>> history(std::string_view code, bool shanghaiForm,
                                                   int32_t firstDay, int32_t endDay,
                                                   size_t maxRecords)
        = 0;
    virtual Answer<std::vector<ListedStock>> stockList(bool shanghai) = 0;
    virtual Answer<RankingPage> ranking(Board board, SortKey key, int32_t first, int32_t wanted)
        = 0;
    virtual Answer<ChartFigures> chart(std::string_view code) = 0;

    virtual MarketStatus status() const = 0;
    // Ends every wait and transfer in progress; called before the server stops.
    virtual void stop() { }
};

} // namespace lark::quoteserver
