#include "base/terminal_text.h"

#include <cstdint>

namespace lark {
namespace {

// Length of the UTF-8 sequence at the start of text that is neither malformed nor a control
// character; 0 when there is none.
size_t printableLength(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80)
        return lead >= 0x20 && lead != 0x7F;
    const size_t length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || length > text.size())
        return 0;
    uint32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (next & 0x3F);
    }
    const uint32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid = code >= shortest[length] && code <= 0x10FFFF
        && !(code >= 0xD800 && code <= 0xDFFF) && !(code >= 0x80 && code <= 0x9F);
    return valid ? length : 0;
}

} // namespace

std::string terminalText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const size_t length = printableLength(text);
        out.append(length ? text.substr(0, length) : std::string_view("?"));
        text.remove_prefix(length ? length : 1);
    }
    return out;
}

} // namespace lark
