#pragma once

namespace lark {

struct CommandLine;
struct LaunchSetup;

// The text front end: the quote list as a table, alarms as lines, Enter acknowledges.
// Returns the process exit code.
int runConsole(const CommandLine &options, LaunchSetup &setup);

} // namespace lark
