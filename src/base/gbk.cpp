#include "base/gbk.h"

#include <cerrno>
#include <iconv.h>

namespace lark {
namespace {

std::string convert(std::string_view in, const char *to, const char *from, std::string_view bad)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::string(in);
    std::string out;
    out.reserve(in.size() * 2);
    char buffer[256];
    auto *src = const_cast<char *>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char *dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            // EILSEQ or EINVAL (truncated sequence): skip one byte and mark it.
            out.append(bad);
            ++src;
            --srcLeft;
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::string gbkToUtf8(std::string_view gbk)
{
    return convert(gbk, "UTF-8", "GBK", "\xEF\xBF\xBD");
}

std::string gb18030ToUtf8(std::string_view gb18030)
{
    return convert(gb18030, "UTF-8", "GB18030", "\xEF\xBF\xBD");
}

std::string utf8ToGbk(std::string_view utf8)
{
    return convert(utf8, "GBK", "UTF-8", "?");
}

std::string_view untilNul(std::string_view field)
{
    return field.substr(0, field.find('\0'));
}

} // namespace lark
