// The two stock-message replies and the directory made of them. Input: a 2-byte little-endian
// length, that many bytes of the Shanghai reply, the rest the Shenzhen reply.

#include "base/gbk.h"
#include "engine/stock_directory.h"
#include "fuzz_check.h"
#include "protocol/wire_format.h"

#include <algorithm>
#include <climits>
#include <set>

using namespace lark;

namespace {

void checkList(const StockList &list, std::string_view reply, char marker)
{
    LARK_FUZZ_CHECK(list.bytes == reply);
    LARK_FUZZ_CHECK(static_cast<size_t>(list.count) == reply.size() / wire::kStockRecordSize);
    LARK_FUZZ_CHECK(list.skip >= 0 && list.skip <= list.count);
    int markers = 0;
    for (int k = 0; k < list.count; ++k)
        markers += reply[k * wire::kStockRecordSize] == marker;
    LARK_FUZZ_CHECK(list.skip == markers);
}

// Code and name bytes of every whole record, so a lookup can be traced to one.
void addRecords(std::set<std::string> &records, const StockList &list)
{
    for (int k = 0; k < list.count; ++k)
        records.insert(list.bytes.substr(k * wire::kStockRecordSize + 1, 14));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view input = fuzz::asBytes(data, size);
    const size_t split = size >= 2 ? std::min<size_t>(data[0] | data[1] << 8, size - 2) : 0;
    const std::string_view shReply = input.substr(std::min<size_t>(size, 2), split);
    const std::string_view szReply = input.substr(std::min<size_t>(size, 2) + split);

    StockLists lists;
    lists.shanghai = StockList::fromReply(std::string(shReply), wire::kShanghaiSkipMarker);
    lists.shenzhen = StockList::fromReply(std::string(szReply), wire::kShenzhenSkipMarker);
    checkList(lists.shanghai, shReply, wire::kShanghaiSkipMarker);
    checkList(lists.shenzhen, szReply, wire::kShenzhenSkipMarker);
    // As the fetch does: a market counts as received once one whole record arrived.
    lists.shanghaiReceived = lists.shanghai.count > 0;
    lists.shenzhenReceived = lists.shenzhen.count > 0;

    const int64_t shCount = lists.shanghai.count, shSkip = lists.shanghai.skip;
    const int64_t szCount = lists.shenzhen.count, szSkip = lists.shenzhen.skip;
    std::set<std::string> records;
    addRecords(records, lists.shanghai);
    addRecords(records, lists.shenzhen);

    StockDirectory directory;
    directory.load(lists);
    LARK_FUZZ_CHECK(directory.isLoaded() == (shCount > 0 && szCount > 0));

    // Every edge of the numbering, and the extremes a reply can carry.
    std::vector<int64_t> numbers = {INT_MIN, INT_MIN + 1, INT_MAX - 1, INT_MAX};
    for (int64_t edge : {int64_t(0), -shSkip, shCount - shSkip, shCount, shCount + szCount - szSkip,
                         shCount + szCount})
        for (int64_t d = -2; d <= 2; ++d)
            numbers.push_back(edge + d);
    for (int64_t n : numbers) {
        if (n < INT_MIN || n > INT_MAX)
            continue;
        const int number = static_cast<int>(n);
        const std::string code = directory.stockCodeAt(number);
        const std::string name = directory.stockNameAt(number);
        const bool blank = code == "     ";
        LARK_FUZZ_CHECK(blank || code.size() == 6);
        LARK_FUZZ_CHECK(name.size() == (blank ? 7u : 8u));
        LARK_FUZZ_CHECK(!blank || name == "       ");
        // Numbers from 0 name the Shanghai records after its markers, numbers from the Shanghai
        // count on the Shenzhen records after theirs; nothing else names a stock.
        const bool names = directory.isLoaded()
            && ((n >= 0 && n < shCount - shSkip)
                || (n >= shCount && n < shCount + szCount - szSkip));
        LARK_FUZZ_CHECK(blank != names);
        if (!blank) {
            LARK_FUZZ_CHECK(records.count(code + name) == 1);
            LARK_FUZZ_CHECK(fuzz::isValidUtf8(gbkToUtf8(untilNul(name))));
        }
    }
    return 0;
}
