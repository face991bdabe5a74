#include "base/xdg_home.h"

#include <pwd.h>
#include <unistd.h>

namespace lark {

std::optional<std::filesystem::path>
absolutePathFrom(const std::function<const char *(const char *)> &environment, const char *variable)
{
    const char *value = environment(variable);
    if (!value || *value != '/')
        return std::nullopt;
    return std::filesystem::path(value);
}

std::optional<std::filesystem::path>
xdgHome(const std::function<const char *(const char *)> &environment, const char *variable,
        const char *underHome)
{
    if (auto folder = absolutePathFrom(environment, variable))
        return folder;
    auto home = absolutePathFrom(environment, "HOME");
    if (!home) {
        // HOME unset or relative: the account's own home, as the system knows it.
        const passwd *account = ::getpwuid(::getuid());
        if (!account || !account->pw_dir || account->pw_dir[0] != '/')
            return std::nullopt;
        home = account->pw_dir;
    }
    return *home / underHome;
}

} // namespace lark
