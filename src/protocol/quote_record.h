#pragma once

#include "protocol/rgb.h"
#include "protocol/stock_code.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lark {

class QuoteSession;

// The 97-byte real-time quote reply. Prices in thousandths of a yuan, volumes in shares.
struct QuoteRecord
{
    static constexpr size_t kSize = 97;
    static constexpr size_t kReadLimit = 102;

    std::string name; // UTF-8
    int32_t previousClose = 0;
    int32_t open = 0;
    int32_t high = 0;
    int32_t low = 0;
    int32_t last = 0;
    int32_t bid1Price = 0, bid1Volume = 0;
    int32_t bid2Price = 0, bid2Volume = 0;
    int32_t bid3Price = 0, bid3Volume = 0;
    int32_t ask1Price = 0, ask1Volume = 0;
    int32_t ask2Price = 0, ask2Volume = 0;
    int32_t ask3Price = 0, ask3Volume = 0;
    int32_t volume = 0;
    int32_t amount = 0;

    // reply must hold exactly kSize bytes.
    static QuoteRecord decode(std::string_view reply);
};

enum class QuoteOutcome { Failed, Rejected, Valid };

std::string quotePath(std::string_view code);
QuoteOutcome fetchQuote(QuoteSession &session, std::string_view code, QuoteRecord &record);

// Change in percent of the previous close; 0 when there is no previous close,
// so a bad record never yields NaN or infinity.
float changePercent(int32_t last, int32_t previousClose);
double changeYuan(int32_t last, int32_t previousClose);

std::vector<std::string> quoteRowTexts(const QuoteRecord &record, std::string_view code,
                                       int interfaceSize);
std::vector<std::string> invalidRowTexts(std::string_view code, int interfaceSize);
std::vector<std::string> emptyRowTexts(int interfaceSize);

inline constexpr Rgb kUpColour {252, 20, 79};
inline constexpr Rgb kDownColour {12, 239, 80};
inline Rgb rowColour(float changePct)
{
    return changePct >= 0 ? kUpColour : kDownColour;
}

} // namespace lark
