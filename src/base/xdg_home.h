#pragma once

#include <filesystem>
#include <functional>
#include <optional>

namespace lark {

// The variable's value when it is an absolute path. A relative one would put files wherever
// the program was started, so it counts as unset, as the XDG base directory rules have it.
std::optional<std::filesystem::path>
absolutePathFrom(const std::function<const char *(const char *)> &environment,
                 const char *variable);

// An XDG base directory: the variable (XDG_CONFIG_HOME, XDG_CACHE_HOME) when absolute, else
// HOME/underHome, with the account's home when HOME is unset or relative. Nothing when there is
// no home at all.
std::optional<std::filesystem::path>
xdgHome(const std::function<const char *(const char *)> &environment, const char *variable,
        const char *underHome);

} // namespace lark
