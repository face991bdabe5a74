#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lark {

// Replies are little-endian whatever the host; fields may stand at odd offsets.
inline int32_t readInt32(std::string_view bytes, size_t offset)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data() + offset);
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    return static_cast<int32_t>(v);
}

inline void writeInt32(std::string &bytes, size_t offset, int32_t value)
{
    auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Every query path starts so; the access code travels with each one.
inline constexpr std::string_view kQueryHead = "/stksrv_curve/JGetHq3.dll?";
inline constexpr std::string_view kAccessCode = "507193";

} // namespace lark
