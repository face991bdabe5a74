#include "engine/stock_directory.h"

#include "protocol/wire_format.h"

namespace lark {

const char *StockDirectory::recordAt(int number) const
{
    if (!isLoaded() || number < 0)
        return nullptr;
    const StockList &sh = m_lists.shanghai;
    const StockList &sz = m_lists.shenzhen;
    bool shanghai = number < sh.count;
    const StockList &list = shanghai ? sh : sz;
    int64_t position = shanghai ? int64_t(number) + sh.skip : int64_t(number) - sh.count + sz.skip;
    if (position < 0 || position >= list.count)
        return nullptr;
    return list.bytes.data() + position * wire::kStockRecordSize;
}

std::string StockDirectory::stockCodeAt(int number) const
{
    const char *record = recordAt(number);
    return record ? std::string(record + wire::kStockCodeOffset, wire::kStockCodeSize)
                  : std::string(5, ' ');
}

std::string StockDirectory::stockNameAt(int number) const
{
    const char *record = recordAt(number);
    return record ? std::string(record + wire::kStockNameOffset, wire::kNameSize)
                  : std::string(7, ' ');
}

} // namespace lark
