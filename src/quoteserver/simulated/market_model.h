#pragma once

#include "quoteserver/market_source.h"
#include "quoteserver/model_time.h"
#include "quoteserver/quote_types.h"
#include "quoteserver/simulated/price_path.h"

#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lark::quoteserver {

struct Stock
{
    std::string code;
    std::string nameGbk;
    Board board = Board::ShanghaiA;
    StockTraits traits;
    bool index = false; // its day volume is far beyond what the wire carries
};

// Index-like entries that head each market's stock list.
struct ListMarker
{
    std::string code;
    std::string nameGbk;
};

// Every stock and figure the server hands out, deterministic from the seed and the
// model time. Codes and names do not depend on the seed; prices and volumes do.
class MarketModel
{
public:
    explicit MarketModel(uint64_t seed = 1, bool exchangeHours = false);

    uint64_t seed() const { return m_seed; }
    const TradingSession &session() const { return m_session; }

    // In code order; Shanghai A, Shanghai B, Shenzhen A, Shenzhen B one after another.
    std::span<const Stock> allStocks() const { return m_stocks; }
    std::span<const Stock> board(Board board) const;
    // A stock of the boards, or one of the few indices and funds the model offers besides.
    const Stock *find(std::string_view code) const;
    std::span<const ListMarker> markers(bool shanghai) const;

    // The client's numbering: Shanghai stocks count from 0 in list order, Shenzhen
    // ones follow after the whole Shanghai list, markers included.
    int32_t stockNumber(const Stock &stock) const;
    const Stock *stockByNumber(int32_t number) const;

    // Model figures, no pins.
    Quote quote(const Stock &stock, std::time_t t) const;
    std::vector<PathPoint> intradayPath(const Stock &stock, std::time_t t) const;
    // Weekdays from firstDay up to, not including, endDay; days count from 1970-01-01.
    std::vector<DayRecord> history(const Stock &stock, int32_t firstDay, int32_t endDay,
                                   size_t maxRecords) const;

private:
    void addOther(std::string code, std::string nameGbk, std::string_view figuresCode);
    size_t boardBegin(Board board) const;

    uint64_t m_seed;
    TradingSession m_session;
    std::vector<Stock> m_stocks;
    std::vector<Stock> m_others; // on no board: not ranked, not numbered
    std::unordered_map<std::string, size_t> m_byCode;
    std::vector<ListMarker> m_shanghaiMarkers, m_shenzhenMarkers;
    size_t m_boardEnds[4] = {};
};

} // namespace lark::quoteserver
