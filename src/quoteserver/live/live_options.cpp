#include "quoteserver/live/live_options.h"

namespace lark::sim {

std::string larkUserAgent()
{
    return "Lark/" LARK_VERSION " (personal stock watcher; Linux)";
}

std::filesystem::path defaultCacheDir(const std::function<const char *(const char *)> &environment)
{
    if (const char *xdg = environment("XDG_CACHE_HOME"); xdg && *xdg)
        return std::filesystem::path(xdg) / "lark";
    const char *home = environment("HOME");
    return std::filesystem::path(home && *home ? home : ".") / ".cache" / "lark";
}

} // namespace lark::sim
