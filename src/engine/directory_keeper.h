#pragma once

#include "lookup/instrument_directory.h"
#include "protocol/stock_messages.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace lark {

// The instrument directory, built at the first ask on a thread of the owner's and then shared,
// so that neither the start nor the user-interface thread waits for the pinyin of every name.
// Any thread may ask.
class DirectoryKeeper
{
public:
    // Runs work on a thread the owner joins before the keeper goes; false once it is closing.
    using ThreadStarter = std::function<bool(std::function<void()>)>;

    DirectoryKeeper(ThreadStarter start, const std::atomic<int> &quit);

    // The directory, or null: then its build from lists starts, unless under way (the lists
    // stay as they are until it ends), and whenReady, when given, is called on the builder's
    // thread once it is done. A build that quit ends hands nothing out.
    std::shared_ptr<const InstrumentDirectory> directory(const StockLists &lists,
                                                         std::function<void()> whenReady);

private:
    void build(const StockLists &lists);

    ThreadStarter m_start;
    const std::atomic<int> &m_quit;
    std::mutex m_mutex;
    std::shared_ptr<const InstrumentDirectory> m_directory; // under m_mutex, as below
    bool m_building = false;
    std::vector<std::function<void()>> m_waiting;
};

} // namespace lark
