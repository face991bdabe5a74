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

#include "engine/engine.h"
#include "protocol/day_history.h"

#include <numeric>

namespace lark {

// Once at start-up: the average day volume of the last five trading days of each
// monitored slot. A slot whose history did not arrive keeps its baseline.
void Engine::computeVolumeBaselines()
{
    const int slots = rowCount(m_interfaceSize);
    const DayHistoryDates dates = dayHistoryDates(m_config.clock());
    for (int slot = 0; slot < slots && !quitRequested; ++slot) {
        auto reply = m_session.query(dayHistoryPath(codeAt(slot), dates.start, dates.end),
                                     kDayHistoryReadLimit);
        if (!reply)
            continue;
        std::vector<int32_t> volumes = dayHistoryVolumes(*reply);
        if (volumes.empty())
            continue;
        int64_t sum = std::accumulate(volumes.begin(), volumes.end(), int64_t(0));
        std::lock_guard lock(settingsLock);
        tables.volumeBaseline[slot] = static_cast<int32_t>(sum / int64_t(volumes.size()));
    }
}

} // namespace lark
