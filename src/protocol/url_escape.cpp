#include "protocol/url_escape.h"

#include "base/c_format.h"

#include <cctype>

namespace lark {

std::string urlEscaped(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~')
            escaped += c;
        else
            escaped += cformat("%%%02X", byte);
    }
    return escaped;
}

} // namespace lark
