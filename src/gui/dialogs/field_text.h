#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lark::ui {

// Edit-box text rules of the dialogs: the first 31 characters are read, blanks and tabs around
// the value are skipped, the rest must be one decimal number (as strtod reads it) or one
// decimal integer with optional sign; zero counts only when the text begins with the digit 0.
std::optional<double> parseNumber(std::string_view text);
std::optional<int> parseInteger(std::string_view text);

// "%.*g" with precision 6, whatever the process locale.
std::string formatNumber(double value);

} // namespace lark::ui
