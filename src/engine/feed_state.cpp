#include "engine/feed_state.h"

#include "base/c_format.h"

namespace lark {
namespace {

std::string clockText(const std::tm &t)
{
    return cformat("%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
}

} // namespace

std::string feedStateText(const FeedState &state)
{
    std::string text;
    if (state.phase == FeedState::Phase::Connecting)
        text = "正在连接";
    else if (state.phase == FeedState::Phase::Failing && state.failingSince)
        text = "自 " + clockText(*state.failingSince) + " 起取不到行情";
    if (state.lastPass)
        text += (text.empty() ? "" : "，") + std::string("上次刷新 ") + clockText(*state.lastPass);
    return text;
}

} // namespace lark
