#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace lark {

inline constexpr int kStoredSlots = 16;

// What one run keeps between starts: the watch list, three of the four per-slot thresholds,
// the interface size of the next start and the version text.
struct StoredSettings
{
    // Empty when the stored code is missing, unreadable or too long: the slot's default applies.
    std::array<std::optional<std::string>, kStoredSlots> codes;
    std::array<float, kStoredSlots> changeAlarmPct {};
    std::array<int32_t, kStoredSlots> bigOrderAlarm {};
    std::array<float, kStoredSlots> volumeRatioAlarm {};
    int interfaceSize = 1;
    std::string versionText;
};

} // namespace lark
