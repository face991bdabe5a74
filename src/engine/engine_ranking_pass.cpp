#include "engine/engine.h"

#include "base/gbk.h"
#include "engine/row_texts.h"
#include "protocol/query_paths.h"
#include "protocol/ranking_reply.h"
#include "protocol/wire_format.h"

#include <algorithm>

namespace lark {

std::optional<int> Engine::turnRankingPage(int step)
{
    if (!stockMessagesLoaded || !optionsSnapshot().rankingOn)
        return std::nullopt;
    refreshStopRequested = 1;
    const int page = std::max(0, m_rankingPage + step);
    m_rankingPage = page;
    startRankingPass(page);
    return page;
}

int Engine::rankingThread(int page)
{
    if (!loopToken.wait())
        return 0;
    loopFinished.reset();
    const int rows = rowCount(m_interfaceSize);
    const int first = page * rows;
    m_list.deleteAllRows();
    Options snapshot = optionsSnapshot();
    auto reply
        = m_session.query(rankingPath(snapshot.rankingMarket, snapshot.rankingSortKey, first, rows),
                          wire::kRankingReadLimit);
    if (!reply) {
        if (!quitRequested)
            notePass(false);
        loopToken.set();
        return 0;
    }
    notePass(true);
    if (!reply->empty()) {
        RankingPage ranking = parseRanking(*reply);
        m_lastPage = ranking.isLast;
        for (size_t k = 0; k < ranking.records.size(); ++k)
            writeRankingRow(static_cast<int>(k), ranking.records[k]);
    }
    // Buttons are only ever enabled here; the view disables them before a page turn.
    if (first != 0)
        m_list.enablePageButton(PageButton::Previous);
    if (!m_lastPage)
        m_list.enablePageButton(PageButton::Next);
    loopToken.set();
    loopFinished.set();
    return 1;
}

void Engine::writeRankingRow(int row, const RankingRecord &r)
{
    QuoteRecord quote;
    quote.name = gbkToUtf8(untilNul(m_directory.stockNameAt(r.stockNumber)));
    quote.previousClose = r.previousClose;
    quote.last = r.last;
    quote.bid1Price = r.bid1Price;
    quote.ask1Price = r.ask1Price;
    quote.volume = r.volume;
    std::string code(untilNul(m_directory.stockCodeAt(r.stockNumber)));
    m_list.setTextColour(rowColour(changePercent(r.last, r.previousClose)));
    m_list.insertRow(row, code);
    auto texts = quoteRowTexts(quote, code, 1);
    for (size_t column = 0; column < texts.size(); ++column)
        m_list.setText(row, static_cast<int>(column), texts[column]);
}

} // namespace lark
