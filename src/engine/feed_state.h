#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace lark {

// How the figures are coming, for the tips that tell it at a glance.
struct FeedState
{
    enum class Phase { Connecting, Flowing, Failing };
    Phase phase = Phase::Connecting;
    // Local time of the first query that got no reply since the last pass that had every one.
    std::optional<std::tm> failingSince;
    // Local time the last pass that had every reply ended.
    std::optional<std::tm> lastPass;
};

// "正在连接" or "自 10:31:05 起取不到行情", then "上次刷新 10:30:55" once a pass ended.
std::string feedStateText(const FeedState &state);

} // namespace lark
