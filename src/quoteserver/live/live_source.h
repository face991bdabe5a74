#pragma once

#include "quoteserver/live/eastmoney_boards.h"
#include "quoteserver/live/list_keeper.h"
#include "quoteserver/live/live_options.h"
#include "quoteserver/live/market_hours.h"
#include "quoteserver/live/quote_batcher.h"
#include "quoteserver/live/rate_limiter.h"
#include "quoteserver/live/upstream_client.h"
#include "quoteserver/market_source.h"

#include <map>
#include <mutex>
#include <tuple>

namespace lark::quoteserver {

// The real Shanghai and Shenzhen markets from the public quote services: batch real-time
// quotes, daily bars, and the list service's board lists and rankings. Everything it hands
// out came from them; what it cannot get it reports as Failed, never made up.
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
    using Clock = std::chrono::steady_clock;
    struct DayBars
    {
        int32_t day = 0;
        Answer<std::vector<DayRecord>> bars;
    };
    struct CachedPage
    {
        Clock::time_point fetched;
        BoardPage page;
    };
    using PageKey = std::tuple<Board, SortKey, int>;

    std::optional<Answer<std::vector<DayRecord>>> barsOf(const Instrument &symbol, int32_t today);
    std::optional<BoardPage> rankingPage(Board board, SortKey key, int page);

    const LiveOptions m_options;
    RateLimiter m_limiter;
    MarketHours m_hours;
    UpstreamClient m_quotes, m_history, m_lists;
    QuoteBatcher m_batcher;
    ListKeeper m_keeper;
    std::mutex m_cacheMutex;
    std::map<Instrument, DayBars> m_bars;
    std::map<PageKey, CachedPage> m_pages;
};

} // namespace lark::quoteserver
