#include "quoteserver/live/live_source.h"

#include "quoteserver/live/eastmoney_history.h"
#include "quoteserver/model_time.h"
#include "quoteserver/wire_replies.h"

#include <algorithm>

namespace lark::quoteserver {
namespace {

// Daily bars fetched a stock: two weeks cover the client's week of history.
constexpr int kHistoryBars = 10;

std::string financePage(const Instrument &symbol)
{
    return "https://quote.eastmoney.com/" + quoteSymbol(symbol) + ".html";
}

template<typename T, typename U>
Answer<T> withoutFigures(const Answer<U> &answer)
{
    return {answer.outcome, {}};
}

} // namespace

LiveSource::LiveSource(LiveOptions options)
    : m_options(std::move(options))
    , m_limiter(m_options.timing.perSecond, m_options.timing.perMinute, m_options.timing.rateSecond)
    , m_quotes(m_options.upstreams.quotes, m_options.userAgent, m_options.timing, m_limiter)
    , m_history(m_options.upstreams.history, m_options.userAgent, m_options.timing, m_limiter)
    , m_lists(m_options.upstreams.lists, m_options.userAgent, m_options.timing, m_limiter)
    , m_batcher(
          [this](const std::vector<Instrument> &batch) {
              return m_quotes.fetch(tencentQuotesTarget(batch), m_options.timing.requestDeadline,
                                    parseTencentQuotes);
          },
          m_hours, m_options)
    , m_keeper(m_lists, m_options)
{ }

LiveSource::~LiveSource()
{
    stop();
}

void LiveSource::stop()
{
    m_batcher.stop();
    m_keeper.stop();
    m_limiter.stop();
    for (UpstreamClient *client : {&m_quotes, &m_history, &m_lists})
        client->abort();
}

MarketStatus LiveSource::status() const
{
    MarketStatus status {true, std::nullopt, !m_hours.isOpen(m_options.clock())};
    for (const UpstreamClient *client : {&m_quotes, &m_history, &m_lists}) {
        const auto since = client->health().failingSince();
        if (since && (!status.failingSince || *since < *status.failingSince))
            status.failingSince = since;
    }
    return status;
}

Answer<Quote> LiveSource::quote(std::string_view code, bool)
{
    const auto symbol = instrumentOf(code);
    if (!symbol)
        return Answer<Quote>::unknown();
    const Answer<LiveQuote> answer = m_batcher.quote(*symbol);
    if (answer.outcome != Outcome::Answered)
        return withoutFigures<Quote>(answer);
    return Answer<Quote>::of(answer.value.quote);
}

std::optional<Answer<std::vector<DayRecord>>> LiveSource::barsOf(const Instrument &symbol,
                                                                 int32_t today)
{
    {
        std::lock_guard lock(m_cacheMutex);
        const auto cached = m_bars.find(symbol);
        if (cached != m_bars.end() && cached->second.day == today)
            return cached->second.bars;
    }
    auto bars = m_history.fetch(klineTarget(symbol, kHistoryBars), m_options.timing.requestDeadline,
                                parseKlines);
    if (bars) {
        std::lock_guard lock(m_cacheMutex);
        m_bars[symbol] = {today, *bars};
    }
    return bars;
}

Answer<std::vector<DayRecord>> LiveSource::history(std::string_view code, bool, int32_t firstDay,
                                                   int32_t endDay, size_t maxRecords)
{
    using Result = Answer<std::vector<DayRecord>>;
    const auto symbol = instrumentOf(code);
    if (!symbol)
        return Result::unknown();
    // Whoever asks a stock's history is about to watch it: its quotes join the next batch.
    m_batcher.noteAsked(*symbol);
    const int32_t today = beijingMoment(m_options.clock()).day;
    const auto bars = barsOf(*symbol, today);
    if (!bars)
        return Result::failed();
    if (bars->outcome != Outcome::Answered)
        return *bars;
    // Today's bar, still growing during trading, is not history yet.
    const int32_t first = dateNumber(firstDay), end = dateNumber(std::min(endDay, today));
    std::vector<DayRecord> records;
    for (const DayRecord &r : bars->value) {
        if (r.date >= first && r.date < end && records.size() < maxRecords)
            records.push_back(r);
    }
    return Result::of(std::move(records));
}

Answer<std::vector<ListedStock>> LiveSource::stockList(bool shanghai)
{
    const auto lists = m_keeper.served(true);
    if (!lists)
        return Answer<std::vector<ListedStock>>::failed();
    return Answer<std::vector<ListedStock>>::of(lists->stockList(shanghai));
}

std::optional<BoardPage> LiveSource::rankingPage(Board board, SortKey key, int page)
{
    const PageKey pageKey {board, key, page};
    {
        std::lock_guard lock(m_cacheMutex);
        const auto cached = m_pages.find(pageKey);
        if (cached != m_pages.end()
            && Clock::now() < cached->second.fetched + m_options.timing.rankingFresh)
            return cached->second.page;
    }
    auto fetched = m_lists.fetch(boardRankingTarget(board, key, page),
                                 m_options.timing.requestDeadline, parseBoardPage);
    if (fetched) {
        std::lock_guard lock(m_cacheMutex);
        m_pages[pageKey] = {Clock::now(), *fetched};
    }
    return fetched;
}

Answer<RankingPage> LiveSource::ranking(Board board, SortKey key, int32_t first, int32_t wanted)
{
    const auto lists = m_keeper.served(false);
    if (!lists || first < 0)
        return Answer<RankingPage>::failed();
    RankingPage result;
    const int firstPage = first / kBoardPageRows + 1;
    for (int page = firstPage;; ++page) {
        const auto rows = rankingPage(board, key, page);
        if (!rows)
            return Answer<RankingPage>::failed();
        if (page == firstPage)
            result.total = rows->total;
        const int32_t wantedRows = rankingPageRows(result.total, first, wanted);
        for (int32_t i = 0; i < static_cast<int32_t>(rows->rows.size()); ++i) {
            const int32_t position = (page - 1) * kBoardPageRows + i;
            if (position < first || static_cast<int32_t>(result.rows.size()) >= wantedRows)
                continue;
            const BoardRow &row = rows->rows[i];
            // A stock listed since the lists were fetched has no number the client knows.
            result.rows.push_back({lists->numberOf(row.instrument).value_or(-1), row.quote});
        }
        if (static_cast<int32_t>(result.rows.size()) >= wantedRows || rows->rows.empty()
            || page * kBoardPageRows >= result.total)
            return Answer<RankingPage>::of(std::move(result));
    }
}

Answer<ChartFigures> LiveSource::chart(std::string_view code)
{
    const auto symbol = instrumentOf(code);
    if (!symbol)
        return Answer<ChartFigures>::unknown();
    const Answer<LiveQuote> answer = m_batcher.quote(*symbol);
    if (answer.outcome != Outcome::Answered)
        return withoutFigures<ChartFigures>(answer);
    return Answer<ChartFigures>::of(
        {std::string(code), answer.value.quote, m_batcher.path(*symbol), financePage(*symbol)});
}

} // namespace lark::quoteserver
