#pragma once

#include "quoteserver/live/board_lists.h"
#include "quoteserver/live/fallback_pair.h"
#include "quoteserver/live/live_options.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace lark::quoteserver {

// The board lists: served for the whole run as they were at its start (the client numbers
// ranking rows by them), from the disk cache when there is one; fetched on a thread of
// their own once a day and kept on disk for the next start.
class ListKeeper
{
public:
    ListKeeper(FallbackPair lists, const LiveOptions &options);
    ~ListKeeper();
    ListKeeper(const ListKeeper &) = delete;
    ListKeeper &operator=(const ListKeeper &) = delete;

    // The lists of this run. Only the very first start, with no cache yet, waits for them,
    // and no longer than the first fetch or firstListsWait; null when there are none.
    std::shared_ptr<const BoardLists> served(bool mayWait);
    void stop();

private:
    void run();
    // Fetches all four boards; true when they came whole.
    bool refresh();
    std::optional<std::vector<BoardEntry>> fetchBoard(Board board);
    bool pause(std::chrono::milliseconds duration);

    FallbackPair m_lists;
    const LiveOptions &m_options;
    const std::filesystem::path m_file; // empty: the lists are not kept on disk
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopped = false;
    bool m_firstAttemptDone = false;
    std::shared_ptr<const BoardLists> m_served;
    int32_t m_newestDate = 0; // of the newest lists fetched or found on disk
    std::thread m_worker;
};

} // namespace lark::quoteserver
