#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

namespace lark {

// Trading minutes elapsed at local time now; a whole day (240) outside the sessions
// and in the first hour.
int tradingMinutes(const std::tm &now);

// Today's volume per elapsed minute against the baseline day; none when
// baseline x minutes is not positive.
std::optional<float> volumeRatio(int32_t volume, int32_t baseline, const std::tm &now);

} // namespace lark
