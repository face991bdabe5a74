#pragma once

namespace lark {
struct CommandLine;
struct LaunchSetup;
} // namespace lark

namespace lark::ui {

// The window front end. Returns the process exit code.
int runWindow(const CommandLine &options, const LaunchSetup &setup, const char *program);

} // namespace lark::ui
