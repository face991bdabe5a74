#pragma once

#include "quoteserver/live/eastmoney_boards.h"
#include "quoteserver/live/live_services.h"

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <tuple>

namespace lark::quoteserver {

class BoardLists;

// Ranking pages of a board by a key, the list service's pages of 100 rows cut to what the
// client asks, each page kept a few seconds (a client turning pages asks its neighbours
// again). Any thread.
class RankingPages
{
public:
    RankingPages(LiveServices &services, const LiveOptions &options);

    // Rows first to first + wanted, numbered by lists; nullopt when no service answered.
    std::optional<RankingPage> rows(Board board, SortKey key, int32_t first, int32_t wanted,
                                    const BoardLists &lists);

private:
    using Clock = std::chrono::steady_clock;
    using Key = std::tuple<Board, SortKey, int>;
    struct Kept
    {
        Clock::time_point fetched;
        BoardPage page;
    };

    std::optional<BoardPage> page(Board board, SortKey key, int page);

    LiveServices &m_services;
    const LiveOptions &m_options;
    std::mutex m_mutex;
    std::map<Key, Kept> m_kept;
};

} // namespace lark::quoteserver
