#pragma once

#include "protocol/wire_format.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

namespace lark::test {

// A 97-byte quote reply: name bytes at 0, then the given (offset, value) fields.
inline std::string quoteReply(std::string nameBytes,
                              std::initializer_list<std::pair<size_t, int32_t>> fields)
{
    std::string bytes(97, '\0');
    bytes.replace(0, std::min<size_t>(nameBytes.size(), 8), nameBytes.substr(0, 8));
    for (auto [offset, value] : fields)
        wire::writeInt32(bytes, offset, value);
    return bytes;
}

// Quote record field offsets.
enum QuoteOffset : size_t {
    kPrevClose = 16,
    kOpen = 20,
    kHigh = 24,
    kLow = 28,
    kLast = 32,
    kBid1 = 36,
    kBid1Vol = 40,
    kAsk1 = 60,
    kAsk1Vol = 64,
    kVolume = 84,
    kAmount = 88,
};

} // namespace lark::test
