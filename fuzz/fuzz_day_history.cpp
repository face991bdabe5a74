// The day history reply: a 10-byte header, then 40-byte daily records whose volume stands at
// offset 24. A short or cut reply must yield only the volumes that arrived whole.

#include "fuzz_check.h"
#include "protocol/day_history.h"

using namespace lark;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view reply = fuzz::asBytes(data, size);
    const std::vector<int32_t> volumes = dayHistoryVolumes(reply);

    size_t arrived = 0;
    while (arrived < 5 && 10 + 40 * arrived + 24 + 4 <= reply.size())
        ++arrived;
    LARK_FUZZ_CHECK(volumes.size() <= static_cast<size_t>(kDayHistoryRecordsUsed));
    LARK_FUZZ_CHECK(volumes.size() == arrived);
    for (size_t k = 0; k < volumes.size(); ++k)
        LARK_FUZZ_CHECK(volumes[k] == fuzz::wireInt32(reply, 10 + 40 * k + 24));
    return 0;
}
