#pragma once

#include "quoteserver/live/day_bars.h"
#include "quoteserver/live/day_minutes.h"
#include "quoteserver/live/list_keeper.h"
#include "quoteserver/live/live_options.h"
#include "quoteserver/live/live_services.h"
#include "quoteserver/live/market_hours.h"
#include "quoteserver/live/quote_batcher.h"
#include "quoteserver/live/ranking_pages.h"
#include "quoteserver/market_source.h"

namespace lark::quoteserver {

// The real Shanghai, Shenzhen and Beijing markets from the public quote services: batch
// real-time quotes, daily bars, the day's minutes, and the list service's board lists and
// rankings, each kind with a second service asked while the first fails. Everything it hands
// out came from them; what it cannot get it reports as Failed, never made up. Any thread.
class LiveSource final : public MarketSource
{
public:
    explicit LiveSource(LiveOptions options);
    ~LiveSource() override;

    Answer<Quote> quote(std::string_view code, bool shanghaiForm) override;
    Answer<std::vector<DayRecord>> history(std::string_view code, bool shanghaiForm,
                                           int32_t firstDay, int32_t endDay,
                                           size_t maxRecords) override;
    Answer<std::vector<ListedStock>> stockList(bool shanghai) override;
    Answer<RankingPage> ranking(Board board, SortKey key, int32_t first, int32_t wanted) override;
    Answer<ChartFigures> chart(std::string_view code) override;
    MarketStatus status() const override;
    void stop() override;

private:
    std::optional<QuoteLines> fetchQuotes(const std::vector<Instrument> &batch);

    const LiveOptions m_options;
    LiveServices m_services;
    MarketHours m_hours;
    QuoteBatcher m_batcher;
    DayBars m_bars;
    DayMinutes m_minutes;
    RankingPages m_rankings;
    ListKeeper m_keeper;
};

} // namespace lark::quoteserver
