#pragma once

#include <cstdint>

namespace lark {

// A stock's real-time figures as the protocol carries them: prices in thousandths of a yuan,
// volumes in shares, the amount in yuan.
struct QuoteFigures
{
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

    bool operator==(const QuoteFigures &) const = default;
};

} // namespace lark
