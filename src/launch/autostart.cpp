#include "launch/autostart.h"

#include "base/file_writer.h"
#include "launch/command_line.h"

#include <system_error>

namespace lark {
namespace {

// One argument of an Exec line: quoted when it holds a reserved character, '%' doubled (it
// starts a field code), and every backslash doubled again for the file's own string escapes.
std::string execArgument(const std::string &argument)
{
    const bool quote = argument.empty()
        || argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
    std::string text = quote ? "\"" : "";
    for (char c : argument) {
        if (c == '%')
            text += '%';
        else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            text += '\\';
        text += c;
    }
    if (quote)
        text += '"';
    std::string escaped;
    for (char c : text)
        escaped += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : std::string(1, c);
    return escaped;
}

} // namespace

std::optional<std::filesystem::path>
autostartEntryPath(const std::function<const char *(const char *)> &environment)
{
    if (auto config = configHome(environment))
        return *config / "autostart" / "lark.desktop";
    return std::nullopt;
}

std::string autostartEntry(const std::string &program, const std::vector<std::string> &arguments)
{
    std::string exec = execArgument(program);
    for (const std::string &argument : arguments)
        exec += ' ' + execArgument(argument);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Lark\n"
           "Comment=Stock watcher and alarm, started at login\n"
           "Exec="
        + exec
        + "\n"
          "Icon=lark\n"
          "Terminal=false\n"
          "X-GNOME-Autostart-enabled=true\n";
}

int switchAutostart(bool on, const std::string &program, const std::vector<std::string> &arguments,
                    const std::function<const char *(const char *)> &environment, std::ostream &out,
                    std::ostream &err)
{
    const std::optional<std::filesystem::path> entry = autostartEntryPath(environment);
    if (!entry) {
        err << "lark: no folder for the autostart entry: HOME is not set\n";
        return 1;
    }
    const std::filesystem::path &path = *entry;
    if (on) {
        if (const WriteStatus written = replaceFile(path, autostartEntry(program, arguments));
            !written) {
            err << "lark: " << written.failure << '\n';
            return 1;
        }
        out << "Lark starts at login: " << path.string() << '\n';
        return 0;
    }
    std::error_code error;
    const bool removed = std::filesystem::remove(path, error);
    if (error) {
        err << "lark: cannot remove " << path.string() << ": " << error.message() << '\n';
        return 1;
    }
    out << (removed ? "Lark no longer starts at login: removed "
                    : "Lark does not start at login: no ")
        << path.string() << '\n';
    return 0;
}

} // namespace lark
