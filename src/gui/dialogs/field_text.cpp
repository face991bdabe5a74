#include "gui/dialogs/field_text.h"

#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace lark::ui {
namespace {

locale_t cLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return c;
}

// The part of an edit box's text that is read: 31 characters, without blanks and tabs around.
std::string fieldText(std::string_view text, const char *allowed)
{
    text = text.substr(0, 31);
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    // Refuses what strtod reads beyond decimal numbers: hexadecimal, inf, nan.
    return text.find_first_not_of(allowed) == std::string_view::npos ? std::string(text) : "";
}

} // namespace

std::optional<double> parseNumber(std::string_view text)
{
    const std::string t = fieldText(text, "0123456789+-.eE");
    if (t.empty())
        return std::nullopt;
    char *end = nullptr;
    errno = 0;
    const double value = strtod_l(t.c_str(), &end, cLocale());
    if (end != t.c_str() + t.size() || errno == ERANGE || (value == 0 && t.front() != '0'))
        return std::nullopt;
    return value;
}

std::optional<int> parseInteger(std::string_view text)
{
    const std::string t = fieldText(text, "0123456789+-");
    if (t.empty())
        return std::nullopt;
    char *end = nullptr;
    errno = 0;
    const long value = std::strtol(t.c_str(), &end, 10);
    if (end != t.c_str() + t.size() || errno == ERANGE || value < INT_MIN || value > INT_MAX
        || (value == 0 && t.front() != '0'))
        return std::nullopt;
    return int(value);
}

std::string formatNumber(double value)
{
    const locale_t previous = uselocale(cLocale());
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*g", 6, value);
    uselocale(previous);
    return buffer;
}

} // namespace lark::ui
