#include "quoteserver/live/list_keeper.h"

#include "quoteserver/live/eastmoney_boards.h"
#include "quoteserver/model_time.h"

namespace lark::quoteserver {
namespace {

// More pages than any board has; a reply that never ends is not believed.
constexpr int kMostPages = 100;

int32_t dateOf(std::time_t t)
{
    return dateNumber(beijingMoment(t).day);
}

} // namespace

ListKeeper::ListKeeper(FallbackPair lists, const LiveOptions &options)
    : m_lists(lists)
    , m_options(options)
    , m_file(options.cacheDir.empty() ? std::filesystem::path() : options.cacheDir / "boards.tsv")
{
    if (auto cached = m_file.empty() ? std::nullopt : BoardLists::load(m_file)) {
        m_newestDate = cached->date();
        m_served = std::make_shared<const BoardLists>(std::move(*cached));
    }
    m_worker = std::thread([this] { run(); });
}

ListKeeper::~ListKeeper()
{
    stop();
    m_worker.join();
}

void ListKeeper::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_wake.notify_all();
}

std::shared_ptr<const BoardLists> ListKeeper::served(bool mayWait)
{
    std::unique_lock lock(m_mutex);
    if (mayWait) {
        m_wake.wait_for(lock, m_options.timing.firstListsWait,
                        [this] { return m_served || m_firstAttemptDone || m_stopped; });
    }
    return m_served;
}

bool ListKeeper::pause(std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_for(lock, duration, [this] { return m_stopped; });
}

void ListKeeper::run()
{
    for (;;) {
        bool due = false;
        {
            std::lock_guard lock(m_mutex);
            if (m_stopped)
                return;
            due = m_newestDate != dateOf(m_options.clock());
        }
        const bool fresh = !due || refresh();
        {
            std::lock_guard lock(m_mutex);
            m_firstAttemptDone = true;
        }
        m_wake.notify_all();
        if (!pause(fresh ? m_options.timing.listsCheck : m_options.timing.backoffLongest))
            return;
    }
}

bool ListKeeper::refresh()
{
    const int32_t date = dateOf(m_options.clock());
    std::array<std::vector<BoardEntry>, 4> boards;
    for (Board board : {Board::ShanghaiA, Board::ShanghaiB, Board::ShenzhenA, Board::ShenzhenB}) {
        auto entries = fetchBoard(board);
        if (!entries)
            return false;
        boards[static_cast<int>(board)] = std::move(*entries);
    }
    auto lists = std::make_shared<const BoardLists>(std::move(boards), date);
    if (!m_file.empty())
        lists->save(m_file);
    std::lock_guard lock(m_mutex);
    m_newestDate = date;
    if (!m_served)
        m_served = std::move(lists);
    return true;
}

std::optional<std::vector<BoardEntry>> ListKeeper::fetchBoard(Board board)
{
    std::vector<BoardEntry> entries;
    for (int page = 1; page <= kMostPages; ++page) {
        const auto rows = m_lists.fetch(boardListTarget(board, page), m_options.timing.listDeadline,
                                        parseBoardPage);
        if (!rows)
            return std::nullopt;
        for (const BoardRow &row : rows->rows)
            entries.push_back({row.instrument.code, row.nameGbk});
        if (entries.size() > kMostBoardStocks)
            return std::nullopt;
        if (rows->rows.empty() || page * kBoardPageRows >= rows->total)
            return entries.empty() ? std::nullopt : std::optional(std::move(entries));
    }
    return std::nullopt;
}

} // namespace lark::quoteserver
