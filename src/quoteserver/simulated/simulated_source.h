#pragma once

#include "quoteserver/market_source.h"
#include "quoteserver/simulated/market_model.h"
#include "quoteserver/simulated/market_view.h"

#include <memory>
#include <mutex>
#include <optional>

namespace lark::quoteserver {

// The deterministic market model as a source, with the pins and the clock tests control.
class SimulatedSource final : public MarketSource
{
public:
    SimulatedSource(uint64_t seed, bool exchangeHours);

    Answer<Quote> quote(std::string_view code, bool shanghaiForm) override;
    Answer<std::vector<DayRecord>> history(std::string_view code, bool shanghaiForm,
                                           int32_t firstDay, int32_t endDay,
                                           size_t maxRecords) override;
    Answer<std::vector<ListedStock>> stockList(bool shanghai) override;
    Answer<RankingPage> ranking(Board board, SortKey key, int32_t first, int32_t wanted) override;
    Answer<ChartFigures> chart(std::string_view code) override;
    MarketStatus status() const override { return {}; }

    const MarketModel &model() const { return m_model; }
    // Throws std::invalid_argument for an unknown code or a name longer than 8 GBK bytes.
    void pin(const std::string &code, const PinnedQuote &figures);
    void unpin(const std::string &code);
    void unpinAll();
    void freezeClock(std::time_t t);
    void unfreezeClock();
    // The market at this moment with the pins of this moment.
    MarketView view() const;

private:
    const Stock *stockOfMarket(std::string_view code, bool shanghai) const;

    const MarketModel m_model;
    mutable std::mutex m_mutex;
    std::optional<std::time_t> m_frozenAt;
    std::shared_ptr<const PinTable> m_pins = std::make_shared<PinTable>();
};

} // namespace lark::quoteserver
