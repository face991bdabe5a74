#include "engine/volume_ratio.h"

namespace lark {

int tradingMinutes(const std::tm &now)
{
    int minutesOfDay = now.tm_hour * 60 + now.tm_min;
    int sinceOpen = (minutesOfDay - (9 * 60 + 30) + 24 * 60) % (24 * 60);
    int h = sinceOpen / 60;
    int m = sinceOpen % 60;
    if (h >= 1 && h <= 2)
        return 60 * h + m;
    if (h >= 3 && h <= 5)
        return 60 * h + m - 90;
    return 240;
}

std::optional<float> volumeRatio(int32_t volume, int32_t baseline, const std::tm &now)
{
    int64_t d = int64_t(baseline) * tradingMinutes(now);
    if (d <= 0)
        return std::nullopt;
    int64_t n = int64_t(volume) * 240;
    return static_cast<float>(double(n) / double(d) / 100.0);
}

} // namespace lark
