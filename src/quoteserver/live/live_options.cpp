#include "quoteserver/live/live_options.h"

#include "base/xdg_home.h"

namespace lark::quoteserver {

std::string larkUserAgent()
{
    return "Lark/" LARK_VERSION " (personal stock watcher; Linux)";
}

std::filesystem::path defaultCacheDir(const std::function<const char *(const char *)> &environment)
{
    const auto cache = xdgHome(environment, "XDG_CACHE_HOME", ".cache");
    return cache ? *cache / "lark" : std::filesystem::path();
}

} // namespace lark::quoteserver
