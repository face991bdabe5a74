#include "engine/directory_keeper.h"

#include "lookup/directory_listings.h"

#include <stdexcept>

namespace lark {

DirectoryKeeper::DirectoryKeeper(ThreadStarter start, const std::atomic<int> &quit)
    : m_start(std::move(start))
    , m_quit(quit)
{ }

std::shared_ptr<const InstrumentDirectory>
DirectoryKeeper::directory(const StockLists &lists, std::function<void()> whenReady)
{
    std::lock_guard lock(m_mutex);
    if (m_directory)
        return m_directory;
    if (whenReady)
        m_waiting.push_back(std::move(whenReady));
    if (!m_building)
        m_building = m_start([this, &lists] { build(lists); });
    return nullptr;
}

void DirectoryKeeper::build(const StockLists &lists)
{
    std::shared_ptr<const InstrumentDirectory> built;
    try {
        built = std::make_shared<const InstrumentDirectory>(directoryListings(lists), &m_quit);
    } catch (const std::runtime_error &) {
        return; // no transliterators: the code fields offer nothing, and nobody asks again
    }
    std::vector<std::function<void()>> waiting;
    {
        std::lock_guard lock(m_mutex);
        if (m_quit)
            return;
        m_directory = std::move(built);
        waiting.swap(m_waiting);
    }
    for (const auto &tell : waiting)
        tell();
}

} // namespace lark
