#include "quoteserver/live/live_source.h"

#include "quoteserver/live/sina_quotes.h"
#include "quoteserver/live/tencent_quotes.h"
#include "quoteserver/model_time.h"

#include <algorithm>

namespace lark::quoteserver {
namespace {

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
    , m_services(m_options)
    , m_batcher([this](const std::vector<Instrument> &batch) { return fetchQuotes(batch); },
                m_hours, m_options)
    , m_bars(m_services, m_options)
    , m_minutes(m_services.minutes(), m_options)
    , m_rankings(m_services, m_options)
    , m_keeper(m_services.lists(), m_options)
{ }

LiveSource::~LiveSource()
{
    stop();
}

void LiveSource::stop()
{
    m_batcher.stop();
    m_keeper.stop();
    m_services.stop();
    m_bars.save();
}

MarketStatus LiveSource::status() const
{
    return {true, m_services.failingSince(), !m_hours.isOpen(m_options.clock())};
}

// One reply's lines: a row's figures never mix the two services.
std::optional<QuoteLines> LiveSource::fetchQuotes(const std::vector<Instrument> &batch)
{
    return m_services.quotes().fetch(tencentQuotesTarget(batch), parseTencentQuotes,
                                     sinaQuotesTarget(batch), parseSinaQuotes,
                                     m_options.timing.requestDeadline);
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
    const auto bars = m_bars.of(*symbol);
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

Answer<RankingPage> LiveSource::ranking(Board board, SortKey key, int32_t first, int32_t wanted)
{
    const auto lists = m_keeper.served(false);
    if (!lists || first < 0)
        return Answer<RankingPage>::failed();
    auto rows = m_rankings.rows(board, key, first, wanted, *lists);
    return rows ? Answer<RankingPage>::of(std::move(*rows)) : Answer<RankingPage>::failed();
}

Answer<ChartFigures> LiveSource::chart(std::string_view code)
{
    const auto symbol = instrumentOf(code);
    if (!symbol)
        return Answer<ChartFigures>::unknown();
    const Answer<LiveQuote> answer = m_batcher.quote(*symbol);
    if (answer.outcome != Outcome::Answered)
        return withoutFigures<ChartFigures>(answer);
    auto path = m_minutes.pathOf(*symbol, answer.value.date, m_batcher.path(*symbol));
    return Answer<ChartFigures>::of(
        {std::string(code), answer.value.quote, std::move(path), financePage(*symbol)});
}

} // namespace lark::quoteserver
