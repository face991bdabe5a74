// The real-time quote reply: any bytes the server sends end as a row of the list.

#include "engine/row_texts.h"
#include "fuzz_check.h"
#include "protocol/quote_record.h"
#include "protocol/stock_code.h"
#include "protocol/wire_format.h"

#include <cmath>

using namespace lark;

namespace {

constexpr int kSizes[] = {1, 2, 3};
constexpr size_t kColumns[] = {8, 5, 3};

void checkRow(const std::vector<std::string> &texts, std::string_view code, int interfaceSize,
              size_t columns)
{
    LARK_FUZZ_CHECK(texts.size() == columns);
    LARK_FUZZ_CHECK(static_cast<size_t>(columnCount(interfaceSize)) == columns);
    LARK_FUZZ_CHECK(texts[0] == code);
    // Code and name first, figures after.
    for (size_t k = 2; k < texts.size(); ++k)
        LARK_FUZZ_CHECK(!fuzz::showsNonNumber(texts[k]));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view reply = fuzz::asBytes(data, size);
    for (std::string_view code : {"600000", "0001"}) {
        // Callers take only a reply of exactly the record's size; any other is the invalid row.
        if (reply.size() != wire::kQuoteSize) {
            for (size_t k = 0; k < std::size(kSizes); ++k)
                checkRow(invalidRowTexts(code, kSizes[k]), code, kSizes[k], kColumns[k]);
            continue;
        }
        const QuoteRecord record = QuoteRecord::decode(reply);
        // 8 GBK bytes: at most 3 UTF-8 bytes each, U+FFFD included; the name stops at a NUL.
        LARK_FUZZ_CHECK(fuzz::isValidUtf8(record.name));
        LARK_FUZZ_CHECK(record.name.size() <= 24);
        LARK_FUZZ_CHECK(record.name.find('\0') == std::string::npos);
        LARK_FUZZ_CHECK(std::isfinite(changePercent(record.last, record.previousClose)));
        LARK_FUZZ_CHECK(std::isfinite(changeYuan(record.last, record.previousClose)));
        for (size_t k = 0; k < std::size(kSizes); ++k) {
            auto texts = quoteRowTexts(record, code, kSizes[k]);
            checkRow(texts, code, kSizes[k], kColumns[k]);
            LARK_FUZZ_CHECK(texts[1] == record.name);
        }
    }
    return 0;
}
