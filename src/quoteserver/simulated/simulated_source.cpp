#include "quoteserver/simulated/simulated_source.h"

#include "base/gbk.h"
#include "protocol/wire_format.h"
#include "quoteserver/simulated/ranking_order.h"
#include "quoteserver/wire_replies.h"

#include <stdexcept>

namespace lark::quoteserver {

SimulatedSource::SimulatedSource(uint64_t seed, bool exchangeHours)
    : m_model(seed, exchangeHours)
{ }

MarketView SimulatedSource::view() const
{
    std::lock_guard lock(m_mutex);
    return MarketView(m_model, m_frozenAt.value_or(std::time(nullptr)), m_pins);
}

const Stock *SimulatedSource::stockOfMarket(std::string_view code, bool shanghai) const
{
    const Stock *stock = m_model.find(code);
    return stock && isShanghai(stock->board) == shanghai ? stock : nullptr;
}

Answer<Quote> SimulatedSource::quote(std::string_view code, bool shanghaiForm)
{
    const Stock *stock = stockOfMarket(code, shanghaiForm);
    if (!stock)
        return Answer<Quote>::unknown();
    return Answer<Quote>::of(view().quote(*stock));
}

Answer<std::vector<DayRecord>> SimulatedSource::history(std::string_view code, bool shanghaiForm,
                                                        int32_t firstDay, int32_t endDay,
                                                        size_t maxRecords)
{
    const Stock *stock = stockOfMarket(code, shanghaiForm);
    if (!stock)
        return Answer<std::vector<DayRecord>>::unknown();
    // Today is still trading: history stops before it whatever end date is asked.
    const int32_t today = localMoment(view().time()).day;
    return Answer<std::vector<DayRecord>>::of(
        m_model.history(*stock, firstDay, std::min(endDay, today), maxRecords));
}

Answer<std::vector<ListedStock>> SimulatedSource::stockList(bool shanghai)
{
    const MarketView market = view();
    std::vector<ListedStock> entries;
    const uint8_t markerKind
        = static_cast<uint8_t>(shanghai ? wire::kShanghaiSkipMarker : wire::kShenzhenSkipMarker);
    for (const ListMarker &m : m_model.markers(shanghai))
        entries.push_back({markerKind, m.code, m.nameGbk});
    // A board then B board, as the client numbers them.
    const Board boards[] = {shanghai ? Board::ShanghaiA : Board::ShenzhenA,
                            shanghai ? Board::ShanghaiB : Board::ShenzhenB};
    for (Board board : boards) {
        for (const Stock &stock : m_model.board(board))
            entries.push_back({0, stock.code, std::string(market.nameOf(stock))});
    }
    return Answer<std::vector<ListedStock>>::of(std::move(entries));
}

Answer<RankingPage> SimulatedSource::ranking(Board board, SortKey key, int32_t first,
                                             int32_t wanted)
{
    const MarketView market = view();
    std::vector<RankedStock> stocks;
    for (const Stock &stock : m_model.board(board))
        stocks.push_back({m_model.stockNumber(stock), &stock, market.quote(stock)});
    sortRanking(stocks, key);
    RankingPage page;
    page.total = static_cast<int32_t>(stocks.size());
    const int32_t rows = rankingPageRows(page.total, first, wanted);
    for (int32_t i = 0; i < rows; ++i)
        page.rows.push_back({stocks[first + i].number, stocks[first + i].quote});
    return Answer<RankingPage>::of(std::move(page));
}

Answer<ChartFigures> SimulatedSource::chart(std::string_view code)
{
    const Stock *stock = m_model.find(code);
    if (!stock)
        return Answer<ChartFigures>::unknown();
    const MarketView market = view();
    ChartFigures figures {
        stock->code, market.quote(*stock), m_model.intradayPath(*stock, market.time()), {}};
    // A pin moves the figures the path ends on.
    if (!figures.path.empty()) {
        figures.path.back().price = figures.quote.last;
        figures.path.back().volume = figures.quote.volume;
    }
    return Answer<ChartFigures>::of(std::move(figures));
}

void SimulatedSource::pin(const std::string &code, const PinnedQuote &figures)
{
    if (!m_model.find(code))
        throw std::invalid_argument("unknown code " + code);
    Pin pin {figures, figures.name ? utf8ToGbk(*figures.name) : std::string()};
    if (pin.nameGbk.size() > 8)
        throw std::invalid_argument("name longer than 8 GBK bytes");
    std::lock_guard lock(m_mutex);
    auto pins = std::make_shared<PinTable>(*m_pins);
    (*pins)[code] = std::move(pin);
    m_pins = std::move(pins);
}

void SimulatedSource::unpin(const std::string &code)
{
    std::lock_guard lock(m_mutex);
    auto pins = std::make_shared<PinTable>(*m_pins);
    pins->erase(code);
    m_pins = std::move(pins);
}

void SimulatedSource::unpinAll()
{
    std::lock_guard lock(m_mutex);
    m_pins = std::make_shared<PinTable>();
}

void SimulatedSource::freezeClock(std::time_t t)
{
    std::lock_guard lock(m_mutex);
    m_frozenAt = t;
}

void SimulatedSource::unfreezeClock()
{
    std::lock_guard lock(m_mutex);
    m_frozenAt.reset();
}

} // namespace lark::quoteserver
