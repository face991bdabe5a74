#include "quoteserver/http/request_framing.h"

#include "base/ascii_text.h"
#include "base/whole_number.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace lark::quoteserver {
namespace {

bool namedAs(std::string_view line, std::string_view name)
{
    return line.size() > name.size() && line[name.size()] == ':'
        && startsWithIgnoringCase(line, name);
}

// The body length the head announces: 0 without one; nothing when it cannot be told (a
// chunked body, a malformed length).
std::optional<size_t> bodyLength(std::string_view head)
{
    size_t length = 0;
    for (size_t start = head.find('\n') + 1; start < head.size();) {
        const size_t end = std::min(head.find('\n', start), head.size());
        std::string_view line = head.substr(start, end - start);
        start = end + 1;
        if (namedAs(line, "transfer-encoding"))
            return std::nullopt;
        if (!namedAs(line, "content-length"))
            continue;
        std::string_view value = line.substr(line.find(':') + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
            value.remove_prefix(1);
        while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back())))
            value.remove_suffix(1);
        const auto announced = wholeNumber<size_t>(value);
        if (!announced)
            return std::nullopt;
        length = *announced;
    }
    return length;
}

} // namespace

size_t wholeRequestLength(std::string_view bytes)
{
    // The head ends at the first empty line, CR LF or a bare LF.
    const size_t crlf = bytes.find("\n\r\n");
    const size_t lf = bytes.find("\n\n");
    const size_t headEnd = std::min(crlf == std::string_view::npos ? crlf : crlf + 3,
                                    lf == std::string_view::npos ? lf : lf + 2);
    if (headEnd == std::string_view::npos)
        return bytes.size() > kMaxRequestBytes ? kNeverWhole : 0;
    const auto body = bodyLength(bytes.substr(0, headEnd));
    if (headEnd > kMaxRequestBytes || !body || *body > kMaxRequestBytes - headEnd)
        return kNeverWhole;
    return bytes.size() >= headEnd + *body ? headEnd + *body : 0;
}

} // namespace lark::quoteserver
