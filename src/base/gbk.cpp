#include "base/gbk.h"

#include <cerrno>
#include <iconv.h>
#include <mutex>

namespace lark {
namespace {

// One conversion descriptor a direction for the whole run, taken in turn: opening one each
// time would load and unload the character-set module again and again, from every thread.
class Converter
{
public:
    Converter(const char *to, const char *from)
        : m_cd(iconv_open(to, from))
    { }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    std::string convert(std::string_view in, std::string_view bad);

private:
    std::mutex m_mutex;
    iconv_t m_cd;
};

std::string Converter::convert(std::string_view in, std::string_view bad)
{
    if (m_cd == reinterpret_cast<iconv_t>(-1))
        return std::string(in);
    std::lock_guard lock(m_mutex);
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr); // back to the initial shift state
    iconv_t cd = m_cd;
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
    return out;
}

} // namespace

std::string gbkToUtf8(std::string_view gbk)
{
    static Converter converter("UTF-8", "GBK");
    return converter.convert(gbk, "\xEF\xBF\xBD");
}

std::string gb18030ToUtf8(std::string_view gb18030)
{
    static Converter converter("UTF-8", "GB18030");
    return converter.convert(gb18030, "\xEF\xBF\xBD");
}

std::string utf8ToGbk(std::string_view utf8)
{
    static Converter converter("GBK", "UTF-8");
    return converter.convert(utf8, "?");
}

std::string_view untilNul(std::string_view field)
{
    return field.substr(0, field.find('\0'));
}

} // namespace lark
