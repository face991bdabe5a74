#include "quoteserver/live/ranking_pages.h"

#include "quoteserver/live/board_lists.h"
#include "quoteserver/wire_replies.h"

namespace lark::quoteserver {
namespace {

// Pages kept at once: a few boards by a few keys, a few pages deep.
constexpr size_t kMostKept = 32;

} // namespace

RankingPages::RankingPages(LiveServices &services, const LiveOptions &options)
    : m_services(services)
    , m_options(options)
{ }

std::optional<BoardPage> RankingPages::page(Board board, SortKey key, int number)
{
    const Key key3 {board, key, number};
    const auto fresh = m_options.timing.rankingFresh;
    {
        std::lock_guard lock(m_mutex);
        const auto kept = m_kept.find(key3);
        if (kept != m_kept.end() && Clock::now() < kept->second.fetched + fresh)
            return kept->second.page;
    }
    auto fetched = m_services.lists().fetch(boardRankingTarget(board, key, number),
                                            m_options.timing.requestDeadline, parseBoardPage);
    if (!fetched)
        return fetched;
    std::lock_guard lock(m_mutex);
    const auto now = Clock::now();
    std::erase_if(m_kept, [&](const auto &kept) { return now >= kept.second.fetched + fresh; });
    if (m_kept.size() >= kMostKept)
        m_kept.erase(m_kept.begin());
    m_kept[key3] = {now, *fetched};
    return fetched;
}

std::optional<RankingPage> RankingPages::rows(Board board, SortKey key, int32_t first,
                                              int32_t wanted, const BoardLists &lists)
{
    RankingPage result;
    const int firstPage = first / kBoardPageRows + 1;
    for (int number = firstPage;; ++number) {
        const auto rows = page(board, key, number);
        if (!rows)
            return std::nullopt;
        if (number == firstPage)
            result.total = rows->total;
        const int32_t wantedRows = rankingPageRows(result.total, first, wanted);
        for (int32_t i = 0; i < static_cast<int32_t>(rows->rows.size()); ++i) {
            const int32_t position = (number - 1) * kBoardPageRows + i;
            if (position < first || static_cast<int32_t>(result.rows.size()) >= wantedRows)
                continue;
            const BoardRow &row = rows->rows[i];
            // A stock listed since the lists were fetched has no number the client knows.
            result.rows.push_back({lists.numberOf(row.instrument).value_or(-1), row.quote});
        }
        if (static_cast<int32_t>(result.rows.size()) >= wantedRows || rows->rows.empty()
            || number * kBoardPageRows >= result.total)
            return result;
    }
}

} // namespace lark::quoteserver
