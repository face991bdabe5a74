#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace lark {

// $XDG_CONFIG_HOME/autostart/lark.desktop: the entry that starts Lark at login; nothing when
// there is no home.
std::optional<std::filesystem::path>
autostartEntryPath(const std::function<const char *(const char *)> &environment);

// The entry's text: starts program with arguments, quoted as a desktop entry's Exec line needs.
std::string autostartEntry(const std::string &program, const std::vector<std::string> &arguments);

// Writes the entry (on) or removes it (off), says so on out, and returns the exit code; a
// failure is one line on err.
int switchAutostart(bool on, const std::string &program, const std::vector<std::string> &arguments,
                    const std::function<const char *(const char *)> &environment, std::ostream &out,
                    std::ostream &err);

} // namespace lark
